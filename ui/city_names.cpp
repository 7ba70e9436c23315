// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/city_names.h"

#include <algorithm>

namespace vortan {

const char* const kCityNames[kNamedLandMasses * kCityNamesPerLandMass] = {
    "London",         "Birmingham",     "Manchester",    "Liverpool",   "Newcastle",    "Sheffield",  "Washington",
    "New York",       "Los Angeles",    "San Francisco", "Chicago",     "Philadelphia", "Moscow",     "St Petersburg",
    "Rostov",         "Yakutsk",        "Omsk",          "Kharkov",     "Berlin",       "Munich",     "Dresden",
    "Bonn",           "Frankfurt",      "Cologne",       "Paris",       "Marseilles",   "Lyons",      "Calais",
    "Dijon",          "Bordeaux",       "Baghdad",       "Basra",       "Mosul",        "Kirkuk",     "Samarra",
    "Abadan",         "Tokyo",          "Hiroshima",     "Nagasaki",    "Kyoto",        "Osaka",      "Nagoya",
    "Sarajevo",       "Zagreb",         "Belgrade",      "Mostar",      "Dubrovnik",    "Ljubljana",  "Beijing",
    "Shanghai",       "Nanjing",        "Fushun",        "Tianjin",     "Shenyang",     "Melbourne",  "Sydney",
    "Adelaide",       "Perth",          "Canberra",      "Summer Bay",  "Johannesburg", "Cape Town",  "Pretoria",
    "Durban",         "Kimberely",      "Soweto",        "Delhi",       "Bombay",       "Madras",     "Calcutta",
    "Kashmir",        "Bangalore",      "Rome",          "Milan",       "Naples",       "Venice",     "Bologna",
    "Turin",          "Madrid",         "Vallencia",     "Barcelona",   "Seville",      "Bilbao",     "Ibiza",
    "Cairo",          "Alexandria",     "Aswan",         "Port Said",   "Suez",         "Asyut",      "Vienna",
    "Salzburg",       "Saalbach",       "Graz",          "Kitzbuehl",   "Seefeld",      "Vancouver",  "Quebec",
    "Toronto",        "Ottawa",         "Montreal",      "Calgary",     "Ankara",       "Istanbul",   "Adana",
    "Izmir",          "Goreme",         "Antalya",       "Tehran",      "Mashhad",      "Tabriz",     "Esfahan",
    "Abadan",         "Kerman",         "Zurich",        "Geneva",      "Luzern",       "Basle",      "Stans",
    "Engelberg",      "Cardiff",        "Swansea",       "Aberystwyth", "Llanelli",     "Porthmadoc", "Bala",
    "Dublin",         "Belfast",        "Cork",          "Limerick",    "Londonderry",  "Sligo",      "Edinburgh",
    "Glasgow",        "Aberdeen",       "Dundee",        "Perth",       "Stirling",     "Brasilia",   "Sao Paulo",
    "Rio de Janeiro", "Belo Horizonte", "Salvador",      "Fortaleza",   "Buenos Aires", "Rosario",    "Cordoba",
    "La Plata",       "Santa Fe",       "Mendoza",       "Seoul",       "Pusan",        "Taegu",      "Inch'on",
    "Taejon",         "Pyongyang",      "Bogota",        "Caracas",     "Medellin",     "Maracaibo",  "Barranquillo",
    "Cali",           "Mexico City",    "Guadalajara",   "Veracruz",    "Monterry",     "Acapulco",   "Mazatlan",
    "Warsaw",         "Gdansk",         "Lodz",          "Krakow",      "Poznari",      "Wroklaw",    "Amsterdam",
    "Brussels",       "Luxembourg",     "Rotterdam",     "Bruges",      "Zeebrugge",    "Auckland",   "Wellington",
    "Christchurch",   "Dunedin",        "Kaihoro",       "Kiwiville",   "Tel Aviv",     "Jerusalem",  "Jehrico",
    "Beirut",         "Damascus",       "Amman",
};

// The generator makes up to 79 land masses; these groups name the cities of
// land masses 33 to 79 so that no world ever runs out of names.
const char* const kExtraCityNames[kExtraNamedLandMasses * kCityNamesPerLandMass] = {
    "Oslo",       "Bergen",        "Trondheim",    "Stavanger",     "Tromso",        "Narvik",      "Stockholm",
    "Gothenburg", "Malmo",         "Uppsala",      "Kiruna",        "Lund",          "Helsinki",    "Turku",
    "Tampere",    "Oulu",          "Espoo",        "Vaasa",         "Copenhagen",    "Aarhus",      "Odense",
    "Aalborg",    "Esbjerg",       "Roskilde",     "Lisbon",        "Porto",         "Coimbra",     "Faro",
    "Braga",      "Evora",         "Athens",       "Thessaloniki",  "Patras",        "Heraklion",   "Larissa",
    "Volos",      "Budapest",      "Debrecen",     "Szeged",        "Miskolc",       "Pecs",        "Gyor",
    "Prague",     "Brno",          "Ostrava",      "Pilsen",        "Olomouc",       "Liberec",     "Bucharest",
    "Cluj",       "Timisoara",     "Iasi",         "Constanta",     "Brasov",        "Sofia",       "Plovdiv",
    "Varna",      "Burgas",        "Ruse",         "Pleven",        "Kiev",          "Odessa",      "Lviv",
    "Dnipro",     "Zaporizhia",    "Poltava",      "Riga",          "Tallinn",       "Vilnius",     "Kaunas",
    "Tartu",      "Daugavpils",    "Rabat",        "Casablanca",    "Marrakesh",     "Fez",         "Tangier",
    "Agadir",     "Algiers",       "Oran",         "Tunis",         "Sfax",          "Constantine", "Annaba",
    "Tripoli",    "Benghazi",      "Misrata",      "Tobruk",        "Sirte",         "Sabha",       "Lagos",
    "Abuja",      "Kano",          "Ibadan",       "Enugu",         "Port Harcourt", "Nairobi",     "Mombasa",
    "Kisumu",     "Nakuru",        "Eldoret",      "Malindi",       "Addis Ababa",   "Gondar",      "Harar",
    "Axum",       "Dire Dawa",     "Mekele",       "Accra",         "Kumasi",        "Dakar",       "Bamako",
    "Abidjan",    "Lome",          "Kinshasa",     "Brazzaville",   "Luanda",        "Lubumbashi",  "Kisangani",
    "Huambo",     "Dar es Salaam", "Dodoma",       "Zanzibar",      "Arusha",        "Kampala",     "Kigali",
    "Harare",     "Bulawayo",      "Lusaka",       "Ndola",         "Maputo",        "Beira",       "Antananarivo",
    "Toamasina",  "Mahajanga",     "Windhoek",     "Gaborone",      "Maseru",        "Riyadh",      "Jeddah",
    "Mecca",      "Medina",        "Dammam",       "Taif",          "Dubai",         "Abu Dhabi",   "Doha",
    "Muscat",     "Manama",        "Kuwait City",  "Karachi",       "Lahore",        "Islamabad",   "Peshawar",
    "Quetta",     "Multan",        "Kabul",        "Kandahar",      "Herat",         "Tashkent",    "Samarkand",
    "Bukhara",    "Almaty",        "Astana",       "Shymkent",      "Karaganda",     "Aktobe",      "Bishkek",
    "Dhaka",      "Chittagong",    "Colombo",      "Kandy",         "Kathmandu",     "Pokhara",     "Bangkok",
    "Chiang Mai", "Phuket",        "Pattaya",      "Ayutthaya",     "Hat Yai",       "Hanoi",       "Saigon",
    "Haiphong",   "Da Nang",       "Hue",          "Nha Trang",     "Jakarta",       "Surabaya",    "Bandung",
    "Medan",      "Semarang",      "Makassar",     "Manila",        "Cebu",          "Davao",       "Quezon City",
    "Iloilo",     "Baguio",        "Kuala Lumpur", "Penang",        "Ipoh",          "Kuching",     "Malacca",
    "Singapore",  "Rangoon",       "Mandalay",     "Phnom Penh",    "Siem Reap",     "Vientiane",   "Luang Prabang",
    "Taipei",     "Kaohsiung",     "Taichung",     "Tainan",        "Hong Kong",     "Macau",       "Guangzhou",
    "Chengdu",    "Wuhan",         "Xian",         "Chongqing",     "Harbin",        "Sapporo",     "Sendai",
    "Kobe",       "Fukuoka",       "Ulan Bator",   "Darkhan",       "Boston",        "Seattle",     "Denver",
    "Houston",    "Miami",         "Atlanta",      "Dallas",        "Phoenix",       "Detroit",     "New Orleans",
    "Portland",   "St Louis",      "Winnipeg",     "Edmonton",      "Halifax",       "Regina",      "Victoria",
    "Saskatoon",  "Havana",        "Kingston",     "Santo Domingo", "Panama City",   "San Jose",    "Managua",
    "Lima",       "Cusco",         "Arequipa",     "Santiago",      "Valparaiso",    "Antofagasta", "Quito",
    "Guayaquil",  "La Paz",        "Sucre",        "Asuncion",      "Montevideo",    "Recife",      "Manaus",
    "Belem",      "Curitiba",      "Porto Alegre", "Maracay",       "Reykjavik",     "Akureyri",    "Torshavn",
    "Nuuk",       "Valletta",      "Nicosia",      "Inverness",     "Leeds",         "Bristol",     "Norwich",
    "Plymouth",   "York",
};

std::string CityNameFor(int landMass, int ordinal) {
  if (ordinal >= 0 && ordinal < kCityNamesPerLandMass) {
    if (landMass >= 1 && landMass <= kNamedLandMasses)
      return kCityNames[(landMass - 1) * kCityNamesPerLandMass + ordinal];
    const int extra = landMass - kNamedLandMasses - 1;
    if (extra >= 0 && extra < kExtraNamedLandMasses) return kExtraCityNames[extra * kCityNamesPerLandMass + ordinal];
  }
  return "City " + std::to_string(std::max(landMass, 0)) + "-" + std::to_string(std::max(ordinal, 0) + 1);
}

std::string CityName(const Game& g, int city) {
  if (city < 0 || city >= kPieceSlots) return CityNameFor(0, 0);
  const MapCell& cell = g.world.At(g.pieces[city].Pos());
  return CityNameFor(cell.landMass, cell.cityOrdinal);
}

}  // namespace vortan

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "model/records.h"

namespace vortan {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(int n, unsigned seed) {
  std::mt19937 gen(seed);
  Bytes v(static_cast<std::size_t>(n));
  for (uint8_t& b : v) b = static_cast<uint8_t>(gen() | 1);  // never zero, so a dropped byte shows
  return v;
}

template <typename Block>
Bytes Encoded(const Block& b, void (*encode)(const Block&, uint8_t*), int size) {
  Bytes out(static_cast<std::size_t>(size));
  encode(b, out.data());
  return out;
}

// No field is lost and no unused byte is cleared.
TEST(RecordCodec, EveryByteOfEveryBlockRoundTrips) {
  const Bytes settings = RandomBytes(kSettingsBytes, 1), state = RandomBytes(kStateBytes, 2);
  const Bytes pieces = RandomBytes(kPieceTableBytes, 3), world = RandomBytes(kWorldBytes, 4);
  EXPECT_EQ(Encoded(DecodeSettings(settings.data()), EncodeSettings, kSettingsBytes), settings);
  EXPECT_EQ(Encoded(DecodeState(state.data()), EncodeState, kStateBytes), state);
  EXPECT_EQ(Encoded(*std::make_unique<PieceTable>(DecodePieces(pieces.data())), EncodePieces, kPieceTableBytes), pieces);
  EXPECT_EQ(Encoded(*std::make_unique<World>(DecodeWorld(world.data())), EncodeWorld, kWorldBytes), world);
}

// Each field holds a value that shows where it landed.
TEST(RecordCodec, SettingsLayout) {
  GameSettings s;
  s.version = 2.0f;
  s.width = 50, s.height = 55, s.landMassCount = 12, s.difficulty = 3;
  s.kind = {1, 2, 0, 2, 1, 0};
  s.landAmount = 4;
  for (int t = 0; t < kTypeCount; ++t) {
    s.inUse[t] = static_cast<uint8_t>(0x10 + t);
    s.days[t] = static_cast<uint8_t>(0x20 + t);
    s.moves[t] = static_cast<uint8_t>(0x30 + t);
    s.fuel[t] = static_cast<uint8_t>(0x40 + t);
  }
  s.unused55 = 0xAB;
  Bytes want = {0, 0, 0, 0x40, 50, 55, 12, 3, 1, 2, 0, 2, 1, 0, 4};
  for (int base : {0x10, 0x20, 0x30, 0x40})
    for (int t = 0; t < kTypeCount; ++t) want.push_back(static_cast<uint8_t>(base + t));
  want.push_back(0xAB);
  EXPECT_EQ(Encoded(s, EncodeSettings, kSettingsBytes), want);
}

TEST(RecordCodec, StateLayoutIsLittleEndian) {
  GameState s;
  s.currentPiece = 0x0102, s.unused2 = {0x03, 0x04}, s.currentPlayer = 0x0506, s.day = -2;
  s.viewingPlayer = 0x0708, s.gameActive = 0x090A, s.demoMode = 0x0B0C, s.zoomIsWhole = 0x0D0E;
  s.tileSize = 0x0F, s.mapHidden = 0x10, s.unused18 = {0x11, 0x12};
  for (int p = 0; p < kPlayerCount; ++p) {
    s.eliminated[p] = static_cast<uint8_t>(0x20 + p);
    s.autoPlay[p] = static_cast<uint8_t>(0x30 + p);
    s.savedViewX[p] = static_cast<int16_t>(0x4000 + p);
    s.savedViewY[p] = static_cast<int16_t>(0x4100 + p);
    s.homeX[p] = static_cast<int16_t>(0x4200 + p);
    s.homeY[p] = static_cast<int16_t>(0x4300 + p);
    s.playerBit[p] = static_cast<int16_t>(0x4400 + p);
    s.moveMemory[p] = static_cast<int16_t>(0x4500 + p);
  }
  s.viewX = 0x5051, s.viewY = 0x5253;
  Bytes want = {0x02, 0x01, 0x03, 0x04, 0x06, 0x05, 0xFE, 0xFF, 0x08, 0x07, 0x0A, 0x09, 0x0C, 0x0B, 0x0E, 0x0D,
                0x0F, 0x10, 0x11, 0x12, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35};
  const auto words = [&](int high) {
    for (int p = 0; p < kPlayerCount; ++p) want.insert(want.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(high)});
  };
  for (int high : {0x40, 0x41, 0x42, 0x43}) words(high);
  want.insert(want.end(), {0x51, 0x50, 0x53, 0x52});
  words(0x44);
  words(0x45);
  EXPECT_EQ(Encoded(s, EncodeState, kStateBytes), want);
}

TEST(RecordCodec, PieceAndCellLayouts) {
  auto t = std::make_unique<PieceTable>();
  (*t)[1] = PieceRecord{PieceType::Bomber, 3, 4, 2, 7, 8, 9, 10, 100, -1, 1, 8, 2, 0x5A};
  const Bytes pieces = Encoded(*t, EncodePieces, kPieceTableBytes);
  EXPECT_EQ(pieces[0], PieceType::None);
  EXPECT_EQ(Bytes(pieces.begin() + 16, pieces.begin() + 32),
            (Bytes{PieceType::Bomber, 3, 4, 2, 7, 8, 9, 10, 100, 0, 0xFF, 0xFF, 1, 8, 2, 0x5A}));

  auto w = std::make_unique<World>();
  w->At(3, 2) = MapCell{3, 1, 2, 17, 5, 4, 6, 7, 8, 9, 10, 1};  // element 2 * 70 + 3
  const Bytes world = Encoded(*w, EncodeWorld, kWorldBytes);
  const auto at = world.begin() + (2 * kGridSide + 3) * kCellBytes;
  EXPECT_EQ(Bytes(at, at + kCellBytes), (Bytes{3, 1, 2, 17, 5, 4, 6, 7, 8, 9, 10, 1}));
  EXPECT_EQ(world[(2 * kGridSide + 2) * kCellBytes + 4], PieceType::None);
}

}  // namespace
}  // namespace vortan

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>AboutForm</name>
    <message>
        <source>About</source>
        <translation>Über Vortan</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>Regeln</translation>
    </message>
</context>
<context>
    <name>CityDialog</name>
    <message>
        <source>tomorrow      </source>
        <translation>morgen        </translation>
    </message>
    <message>
        <source>in %1 days  </source>
        <translation>in %1 Tagen  </translation>
    </message>
</context>
<context>
    <name>CityDialogForm</name>
    <message>
        <source>City</source>
        <translation>Stadt</translation>
    </message>
    <message>
        <source>Build</source>
        <translation>Bauen</translation>
    </message>
    <message>
        <source>Army</source>
        <translation>Armee</translation>
    </message>
    <message>
        <source>Paras</source>
        <translation>Fallschirmjäger</translation>
    </message>
    <message>
        <source>Fighter</source>
        <translation>Jäger</translation>
    </message>
    <message>
        <source>Bomber</source>
        <translation>Bomber</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transporter</translation>
    </message>
    <message>
        <source>Destroyer</source>
        <translation>Zerstörer</translation>
    </message>
    <message>
        <source>Submarine</source>
        <translation>U-Boot</translation>
    </message>
    <message>
        <source>Carrier</source>
        <translation>Flugzeugträger</translation>
    </message>
    <message>
        <source>Battleship</source>
        <translation>Schlachtschiff</translation>
    </message>
    <message>
        <source>Awake</source>
        <translation>Wach</translation>
    </message>
    <message>
        <source>Asleep</source>
        <translation>Schlafend</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Game Files(*.GAM)</source>
        <translation>Spieldateien(*.GAM)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
<context>
    <name>GameInfoWindow</name>
    <message>
        <source>Simple   </source>
        <translation>Einfach  </translation>
    </message>
    <message>
        <source>Easy     </source>
        <translation>Leicht   </translation>
    </message>
    <message>
        <source>Tricky   </source>
        <translation>Knifflig </translation>
    </message>
    <message>
        <source>Hard     </source>
        <translation>Schwer   </translation>
    </message>
    <message>
        <source>Day %1    </source>
        <translation>Tag %1    </translation>
    </message>
    <message>
        <source>Demo     </source>
        <translation>Demo     </translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Vortan Rules</source>
        <translation>Vortan-Regeln</translation>
    </message>
</context>
<context>
    <name>InfoWindow</name>
    <message>
        <source>Game Info</source>
        <translation>Spielinfo</translation>
    </message>
    <message>
        <source>Piece Info</source>
        <translation>Einheiteninfo</translation>
    </message>
    <message>
        <source>Production</source>
        <translation>Produktion</translation>
    </message>
    <message>
        <source>Rankings</source>
        <translation>Rangliste</translation>
    </message>
    <message>
        <source>World Map</source>
        <translation>Weltkarte</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Neu...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Demo</source>
        <translation>&amp;Demo</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Sleep</source>
        <translation>&amp;Schlafen</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>Spä&amp;ter</translation>
    </message>
    <message>
        <source>&amp;Finished</source>
        <translation>&amp;Fertig</translation>
    </message>
    <message>
        <source>&amp;Return</source>
        <translation>&amp;Heimkehren</translation>
    </message>
    <message>
        <source>&amp;Drop</source>
        <translation>&amp;Absetzen</translation>
    </message>
    <message>
        <source>&amp;End turn...</source>
        <translation>&amp;Zug beenden...</translation>
    </message>
    <message>
        <source>S&amp;urrender...</source>
        <translation>&amp;Kapitulieren...</translation>
    </message>
    <message>
        <source>&amp;Game Info</source>
        <translation>&amp;Spielinfo</translation>
    </message>
    <message>
        <source>R&amp;ankings</source>
        <translation>&amp;Rangliste</translation>
    </message>
    <message>
        <source>Piece &amp;Info</source>
        <translation>&amp;Einheiteninfo</translation>
    </message>
    <message>
        <source>&amp;Production</source>
        <translation>&amp;Produktion</translation>
    </message>
    <message>
        <source>&amp;World Map</source>
        <translation>&amp;Weltkarte</translation>
    </message>
    <message>
        <source>&amp;Current piece</source>
        <translation>&amp;Aktuelle Einheit</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Heimatstadt</translation>
    </message>
    <message>
        <source>No Sound</source>
        <translation>Kein Ton</translation>
    </message>
    <message>
        <source>PC Speaker</source>
        <translation>PC-Lautsprecher</translation>
    </message>
    <message>
        <source>Sound Card</source>
        <translation>Soundkarte</translation>
    </message>
    <message>
        <source>&amp;Colour monitor</source>
        <translation>&amp;Farbbildschirm</translation>
    </message>
    <message>
        <source>&amp;Prompt on new human</source>
        <translation>&amp;Vor jedem Menschen fragen</translation>
    </message>
    <message>
        <source>&amp;Move memory</source>
        <translation>&amp;Zuggedächtnis</translation>
    </message>
    <message>
        <source>&amp;Auto play</source>
        <translation>&amp;Automatisch spielen</translation>
    </message>
    <message>
        <source>&amp;Rules...</source>
        <translation>&amp;Regeln...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber Vortan...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Moves</source>
        <translation>&amp;Züge</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Sound</source>
        <translation>&amp;Ton</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Vortan</source>
        <translation>Vortan</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Oops!</source>
        <translation>Hoppla!</translation>
    </message>
    <message>
        <source>Error!</source>
        <translation>Fehler!</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>Warnung!</translation>
    </message>
    <message>
        <source>Sorry!</source>
        <translation>Tut mir leid!</translation>
    </message>
    <message>
        <source>Illegal Move</source>
        <translation>Unerlaubter Zug</translation>
    </message>
    <message>
        <source>Coward!</source>
        <translation>Feigling!</translation>
    </message>
    <message>
        <source>End turn...</source>
        <translation>Zug beenden...</translation>
    </message>
    <message>
        <source>Vortan</source>
        <translation>Vortan</translation>
    </message>
    <message>
        <source>This is an out of date or corrupted game file</source>
        <translation>Dies ist eine veraltete oder beschädigte Spieldatei</translation>
    </message>
    <message>
        <source>File Save Error</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>Save current game?</source>
        <translation>Aktuelles Spiel speichern?</translation>
    </message>
    <message>
        <source>There must be a human player</source>
        <translation>Es muss einen menschlichen Spieler geben</translation>
    </message>
    <message>
        <source>There must be more than 1 player</source>
        <translation>Es muss mehr als einen Spieler geben</translation>
    </message>
    <message>
        <source>Failed to make a suitable map
Try again or change the New Game settings</source>
        <translation>Es ließ sich keine passende Karte erzeugen
Versuchen Sie es noch einmal oder ändern Sie die Einstellungen für das neue Spiel</translation>
    </message>
    <message>
        <source>You must have either Armies or Paras in the
game or you couldn&apos;t capture cities!</source>
        <translation>Es muss Armeen oder Fallschirmjäger im Spiel
geben, sonst könnten Sie keine Städte erobern!</translation>
    </message>
    <message>
        <source>You must have either Transports or Paras in the
game or you couldn&apos;t get to other islands!</source>
        <translation>Es muss Transporter oder Fallschirmjäger im Spiel
geben, sonst kämen Sie nicht auf andere Inseln!</translation>
    </message>
    <message>
        <source>Are you sure you wish to surrender?</source>
        <translation>Wollen Sie wirklich kapitulieren?</translation>
    </message>
    <message>
        <source>Are you sure you wish to end your turn?</source>
        <translation>Wollen Sie Ihren Zug wirklich beenden?</translation>
    </message>
    <message>
        <source>Only paras can be dropped</source>
        <translation>Nur Fallschirmjäger können abgesetzt werden</translation>
    </message>
    <message>
        <source>Paras must be dropped on open land</source>
        <translation>Fallschirmjäger müssen über freiem Land abgesetzt werden</translation>
    </message>
    <message>
        <source>It&apos;s not a city</source>
        <translation>Das ist keine Stadt</translation>
    </message>
    <message>
        <source>Problem with FindNewPiece</source>
        <translation>Problem bei der Suche nach der nächsten Einheit</translation>
    </message>
    <message>
        <source>Attempting to see with an unused piece</source>
        <translation>Sichtprüfung mit einer unbenutzten Einheit</translation>
    </message>
    <message>
        <source>Asked to draw illegal piece</source>
        <translation>Eine ungültige Einheit sollte gezeichnet werden</translation>
    </message>
    <message>
        <source>Draw piece out of range</source>
        <translation>Einheit außerhalb des Zeichenbereichs</translation>
    </message>
    <message>
        <source>No memory</source>
        <translation>Kein Speicher</translation>
    </message>
</context>
<context>
    <name>NewGameDialog</name>
    <message>
        <source>New Game</source>
        <translation>Neues Spiel</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Human</source>
        <translation>Mensch</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Out</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>World size</source>
        <translation>Weltgröße</translation>
    </message>
    <message>
        <source>50 x 50</source>
        <translation>50 x 50</translation>
    </message>
    <message>
        <source>55 x 55</source>
        <translation>55 x 55</translation>
    </message>
    <message>
        <source>60 x 60</source>
        <translation>60 x 60</translation>
    </message>
    <message>
        <source>65 x 65</source>
        <translation>65 x 65</translation>
    </message>
    <message>
        <source>70 x 70</source>
        <translation>70 x 70</translation>
    </message>
    <message>
        <source>Difficulty</source>
        <translation>Schwierigkeit</translation>
    </message>
    <message>
        <source>Simple</source>
        <translation>Einfach</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>Leicht</translation>
    </message>
    <message>
        <source>Tricky</source>
        <translation>Knifflig</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Schwer</translation>
    </message>
    <message>
        <source>Amount of land</source>
        <translation>Landmenge</translation>
    </message>
    <message>
        <source>Much less</source>
        <translation>Viel weniger</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Weniger</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Lots more</source>
        <translation>Viel mehr</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Pieces &gt;&gt;</source>
        <translation>Einheiten &gt;&gt;</translation>
    </message>
</context>
<context>
    <name>NextPlayerForm</name>
    <message>
        <source>Next Player</source>
        <translation>Nächster Spieler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PieceAttributesDialog</name>
    <message>
        <source>Piece Attributes</source>
        <translation>Einheiten-Eigenschaften</translation>
    </message>
    <message>
        <source>Use?</source>
        <translation>Nutzen?</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Moves</source>
        <translation>Züge</translation>
    </message>
    <message>
        <source>Fuel</source>
        <translation>Treibstoff</translation>
    </message>
    <message>
        <source>(1-32)</source>
        <translation>(1-32)</translation>
    </message>
    <message>
        <source>(8-32)</source>
        <translation>(8-32)</translation>
    </message>
    <message>
        <source>Troops</source>
        <translation>Truppen</translation>
    </message>
    <message>
        <source>Army</source>
        <translation>Armee</translation>
    </message>
    <message>
        <source>Paras</source>
        <translation>Fallschirmjäger</translation>
    </message>
    <message>
        <source>Planes</source>
        <translation>Flugzeuge</translation>
    </message>
    <message>
        <source>Fighter</source>
        <translation>Jäger</translation>
    </message>
    <message>
        <source>Bomber</source>
        <translation>Bomber</translation>
    </message>
    <message>
        <source>Ships</source>
        <translation>Schiffe</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transporter</translation>
    </message>
    <message>
        <source>Destroyer</source>
        <translation>Zerstörer</translation>
    </message>
    <message>
        <source>Submarine</source>
        <translation>U-Boot</translation>
    </message>
    <message>
        <source>Carrier</source>
        <translation>Flugzeugträger</translation>
    </message>
    <message>
        <source>Battleship</source>
        <translation>Schlachtschiff</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>PieceInfoWindow</name>
    <message>
        <source>  n/a  </source>
        <translation>  k. A.  </translation>
    </message>
    <message>
        <source>Moves:</source>
        <translation>Züge:</translation>
    </message>
    <message>
        <source>Fuel:</source>
        <translation>Treibstoff:</translation>
    </message>
</context>
<context>
    <name>PlayerAnnouncement</name>
    <message>
        <source>Ha! Ha! Ha!</source>
        <translation>Ha! Ha! Ha!</translation>
    </message>
    <message>
        <source>has been eliminated!</source>
        <translation>wurde vernichtet!</translation>
    </message>
    <message>
        <source>Victory!</source>
        <translation>Sieg!</translation>
    </message>
    <message>
        <source>has conquered the world!</source>
        <translation>hat die Welt erobert!</translation>
    </message>
</context>
<context>
    <name>PlayerAnnouncementForm</name>
    <message>
        <source>Vortan</source>
        <translation>Vortan</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ProductionWindow</name>
    <message>
        <source>tomorrow   </source>
        <translation>morgen     </translation>
    </message>
    <message>
        <source>in %1 days   </source>
        <translation>in %1 Tagen   </translation>
    </message>
</context>
</TS>

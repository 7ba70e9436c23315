#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "model/records.h"

namespace vortan {
namespace {

std::vector<uint8_t> RandomBytes(int n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<uint8_t> v(static_cast<std::size_t>(n));
  for (uint8_t& b : v) b = static_cast<uint8_t>(gen() | 1);  // never zero, so a dropped byte shows
  return v;
}

// Any byte image decodes and encodes back to itself: no field is lost and no
// unused byte is cleared.
TEST(RecordCodec, EveryByteOfEveryBlockRoundTrips) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    auto settings = RandomBytes(kSettingsBytes, seed);
    std::vector<uint8_t> out(kSettingsBytes);
    EncodeSettings(DecodeSettings(settings.data()), out.data());
    EXPECT_EQ(out, settings);

    auto state = RandomBytes(kStateBytes, seed);
    out.assign(kStateBytes, 0);
    EncodeState(DecodeState(state.data()), out.data());
    EXPECT_EQ(out, state);

    auto pieces = RandomBytes(kPieceTableBytes, seed);
    out.assign(kPieceTableBytes, 0);
    auto table = std::make_unique<PieceTable>(DecodePieces(pieces.data()));
    EncodePieces(*table, out.data());
    EXPECT_EQ(out, pieces);

    auto world = RandomBytes(kWorldBytes, seed);
    out.assign(kWorldBytes, 0);
    auto w = std::make_unique<World>(DecodeWorld(world.data()));
    EncodeWorld(*w, out.data());
    EXPECT_EQ(out, world);
  }
}

TEST(RecordCodec, SettingsFieldsSitAtTheirOffsets) {
  GameSettings s;
  s.version = 2.0f;
  s.width = 50;
  s.height = 55;
  s.landMassCount = 12;
  s.difficulty = 3;
  s.kind = {1, 2, 0, 2, 1, 0};
  s.landAmount = 4;
  s.inUse[9] = 1;
  s.days[1] = 4;
  s.moves[3] = 14;
  s.fuel[9] = 28;
  s.unused55 = 0xAB;
  uint8_t b[kSettingsBytes] = {};
  EncodeSettings(s, b);
  EXPECT_EQ(b[0], 0x00);
  EXPECT_EQ(b[1], 0x00);
  EXPECT_EQ(b[2], 0x00);
  EXPECT_EQ(b[3], 0x40);  // float 2.0
  EXPECT_EQ(b[4], 50);
  EXPECT_EQ(b[5], 55);
  EXPECT_EQ(b[6], 12);
  EXPECT_EQ(b[7], 3);
  EXPECT_EQ(b[8 + 1], 2);
  EXPECT_EQ(b[13], 0);
  EXPECT_EQ(b[14], 4);
  EXPECT_EQ(b[15 + 9], 1);
  EXPECT_EQ(b[25 + 1], 4);
  EXPECT_EQ(b[35 + 3], 14);
  EXPECT_EQ(b[45 + 9], 28);
  EXPECT_EQ(b[55], 0xAB);
}

TEST(RecordCodec, StateFieldsAreLittleEndianAtTheirOffsets) {
  GameState s;
  s.currentPiece = 499;
  s.unused2 = {0x11, 0x22};
  s.currentPlayer = 5;
  s.day = -2;
  s.tileSize = 24;
  s.mapHidden = 1;
  s.eliminated[2] = 1;
  s.autoPlay[5] = 1;
  s.savedViewX[1] = 0x1234;
  s.homeY[5] = 69;
  s.viewX = 33;
  s.viewY = 0x0102;
  s.playerBit[5] = 32;
  s.moveMemory[5] = 1;
  uint8_t b[kStateBytes] = {};
  EncodeState(s, b);
  EXPECT_EQ(b[0], 499 & 0xFF);
  EXPECT_EQ(b[1], 499 >> 8);
  EXPECT_EQ(b[2], 0x11);
  EXPECT_EQ(b[3], 0x22);
  EXPECT_EQ(b[4], 5);
  EXPECT_EQ(b[6], 0xFE);
  EXPECT_EQ(b[7], 0xFF);
  EXPECT_EQ(b[16], 24);
  EXPECT_EQ(b[17], 1);
  EXPECT_EQ(b[20 + 2], 1);
  EXPECT_EQ(b[26 + 5], 1);
  EXPECT_EQ(b[32 + 2], 0x34);
  EXPECT_EQ(b[32 + 3], 0x12);
  EXPECT_EQ(b[68 + 10], 69);
  EXPECT_EQ(b[80], 33);
  EXPECT_EQ(b[82], 0x02);
  EXPECT_EQ(b[83], 0x01);
  EXPECT_EQ(b[84 + 10], 32);
  EXPECT_EQ(b[96 + 10], 1);
  EXPECT_EQ(b[107], 0);
}

TEST(RecordCodec, PieceAndCellFieldsSitAtTheirOffsets) {
  auto t = std::make_unique<PieceTable>();
  PieceRecord& p = (*t)[1];
  p.type = PieceType::Bomber;
  p.owner = 3;
  p.x = 7;
  p.destY = 9;
  p.strength = 100;
  p.fuel = -1;
  p.facing = 1;
  p.production = 8;
  p.daysLeft = 2;
  p.unused15 = 0x5A;
  std::vector<uint8_t> b(kPieceTableBytes);
  EncodePieces(*t, b.data());
  const uint8_t* r = b.data() + 16;
  EXPECT_EQ(b[0], PieceType::None);
  EXPECT_EQ(r[0], PieceType::Bomber);
  EXPECT_EQ(r[1], 3);
  EXPECT_EQ(r[4], 7);
  EXPECT_EQ(r[7], 9);
  EXPECT_EQ(r[8], 100);
  EXPECT_EQ(r[9], 0);
  EXPECT_EQ(r[10], 0xFF);
  EXPECT_EQ(r[11], 0xFF);
  EXPECT_EQ(r[12], 1);
  EXPECT_EQ(r[13], 8);
  EXPECT_EQ(r[14], 2);
  EXPECT_EQ(r[15], 0x5A);

  auto w = std::make_unique<World>();
  MapCell& c = w->At(3, 2);  // element 2 * 70 + 3
  c.terrain = Terrain::Mountain;
  c.landMass = 17;
  c.tileVariant = 6;
  c.topFacing = 1;
  std::vector<uint8_t> wb(kWorldBytes);
  EncodeWorld(*w, wb.data());
  const uint8_t* cb = wb.data() + (2 * kGridSide + 3) * kCellBytes;
  EXPECT_EQ(cb[0], Terrain::Mountain);
  EXPECT_EQ(cb[3], 17);
  EXPECT_EQ(cb[4], PieceType::None);
  EXPECT_EQ(cb[7], 6);
  EXPECT_EQ(cb[11], 1);
}

}  // namespace
}  // namespace vortan

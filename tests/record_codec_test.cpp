// SPDX-License-Identifier: GPL-3.0-or-later
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
  EXPECT_EQ(Encoded(*std::make_unique<PieceTable>(DecodePieces(pieces.data())), EncodePieces, kPieceTableBytes),
            pieces);
  EXPECT_EQ(Encoded(*std::make_unique<World>(DecodeWorld(world.data())), EncodeWorld, kWorldBytes), world);
}

// Every field at its offset, including the ones a new game leaves at zero.
TEST(RecordCodec, SettingsAndStateLayouts) {
  GameSettings gs{2.0f, 50, 55, 12, 3, {0, 1, 2, 2, 1, 0}, 4, {}, {}, {}, {}, 0x77};
  for (int t = 0; t < kTypeCount; ++t) gs.inUse[t] = t, gs.days[t] = 20 + t, gs.moves[t] = 40 + t, gs.fuel[t] = 60 + t;
  Bytes want = {0, 0, 0, 0x40, 50, 55, 12, 3, 0, 1, 2, 2, 1, 0, 4};
  for (int base : {0, 20, 40, 60})
    for (int t = 0; t < kTypeCount; ++t) want.push_back(static_cast<uint8_t>(base + t));
  want.push_back(0x77);
  EXPECT_EQ(Encoded(gs, EncodeSettings, kSettingsBytes), want);

  GameState st{};
  st.currentPiece = 0x1234, st.unused2 = {0xA1, 0xA2}, st.currentPlayer = 5, st.day = -2, st.viewingPlayer = 3;
  st.gameActive = 1, st.demoMode = 1, st.zoomIsWhole = 1, st.tileSize = 24, st.mapHidden = 1,
  st.unused18 = {0xB1, 0xB2};
  for (int p = 0; p < kPlayerCount; ++p) {
    st.eliminated[p] = static_cast<uint8_t>(p), st.autoPlay[p] = static_cast<uint8_t>(10 + p);
    st.savedViewX[p] = static_cast<int16_t>(100 + p), st.savedViewY[p] = static_cast<int16_t>(200 + p);
    st.homeX[p] = static_cast<int16_t>(300 + p), st.homeY[p] = static_cast<int16_t>(400 + p);
    st.playerBit[p] = static_cast<int16_t>(1 << p), st.moveMemory[p] = static_cast<int16_t>(-p);
  }
  st.viewX = 0x0102, st.viewY = 0x0304;
  const Bytes got = Encoded(st, EncodeState, kStateBytes);
  auto i16 = [&](int offset) { return static_cast<int16_t>(got[offset] | (got[offset + 1] << 8)); };
  EXPECT_EQ(
      (Bytes{got[0], got[1], got[2], got[3], got[16], got[17], got[18], got[19], got[20], got[25], got[26], got[31]}),
      (Bytes{0x34, 0x12, 0xA1, 0xA2, 24, 1, 0xB1, 0xB2, 0, 5, 10, 15}));
  EXPECT_EQ((std::vector<int>{i16(4), i16(6), i16(8), i16(10), i16(12), i16(14), i16(80), i16(82)}),
            (std::vector<int>{5, -2, 3, 1, 1, 1, 0x0102, 0x0304}));
  EXPECT_EQ(
      (std::vector<int>{i16(32), i16(42), i16(44), i16(56), i16(68), i16(78), i16(84), i16(94), i16(96), i16(106)}),
      (std::vector<int>{100, 105, 200, 300, 400, 405, 1, 32, 0, -5}));
}

TEST(RecordCodec, PieceAndCellLayouts) {
  auto t = std::make_unique<PieceTable>();
  (*t)[1] = PieceRecord{PieceType::Bomber, 3, 4, 2, 7, 8, 9, 10, 100, -1, 1, 8, 2, 0x5A};
  const Bytes pieces = Encoded(*t, EncodePieces, kPieceTableBytes);
  EXPECT_EQ(Bytes(pieces.begin() + 16, pieces.begin() + 32),
            (Bytes{PieceType::Bomber, 3, 4, 2, 7, 8, 9, 10, 100, 0, 0xFF, 0xFF, 1, 8, 2, 0x5A}));  // strength LE

  auto w = std::make_unique<World>();
  w->At(3, 2) = MapCell{3, 1, 2, 17, 5, 4, 6, 7, 8, 9, 10, 1};  // element 2 * 70 + 3
  const Bytes world = Encoded(*w, EncodeWorld, kWorldBytes);
  const auto at = world.begin() + (2 * kGridSide + 3) * kCellBytes;
  EXPECT_EQ(Bytes(at, at + kCellBytes), (Bytes{3, 1, 2, 17, 5, 4, 6, 7, 8, 9, 10, 1}));
  EXPECT_EQ(world[(2 * kGridSide + 2) * kCellBytes + 4], PieceType::None);
}

}  // namespace
}  // namespace vortan

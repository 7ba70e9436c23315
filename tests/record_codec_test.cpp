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

// No field is lost and no unused byte is cleared. Where each field of the
// settings and state lands is fixed by the known files of vortan-sim new.
TEST(RecordCodec, EveryByteOfEveryBlockRoundTrips) {
  const Bytes settings = RandomBytes(kSettingsBytes, 1), state = RandomBytes(kStateBytes, 2);
  const Bytes pieces = RandomBytes(kPieceTableBytes, 3), world = RandomBytes(kWorldBytes, 4);
  EXPECT_EQ(Encoded(DecodeSettings(settings.data()), EncodeSettings, kSettingsBytes), settings);
  EXPECT_EQ(Encoded(DecodeState(state.data()), EncodeState, kStateBytes), state);
  EXPECT_EQ(Encoded(*std::make_unique<PieceTable>(DecodePieces(pieces.data())), EncodePieces, kPieceTableBytes), pieces);
  EXPECT_EQ(Encoded(*std::make_unique<World>(DecodeWorld(world.data())), EncodeWorld, kWorldBytes), world);
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

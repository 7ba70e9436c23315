// SPDX-License-Identifier: GPL-3.0-or-later
// The byte layouts of the four game blocks. They are also the saved-game file,
// so every field is written explicitly, little-endian, at its fixed offset, and
// the unused bytes are carried through unchanged in both directions.
#include <bit>
#include <cassert>
#include <cstring>
#include <limits>

#include "model/records.h"

namespace vortan {
namespace {

// Writes fields one after the other from a starting address.
class ByteWriter {
 public:
  explicit ByteWriter(uint8_t* out) : out_(out) {}
  void U8(uint8_t v) { out_[pos_++] = v; }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v & 0xFF));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v & 0xFFFF));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
  template <std::size_t N>
  void Bytes(const std::array<uint8_t, N>& a) {
    for (uint8_t b : a) U8(b);
  }
  template <std::size_t N>
  void I16s(const std::array<int16_t, N>& a) {
    for (int16_t v : a) I16(v);
  }
  int Written() const { return pos_; }

 private:
  uint8_t* out_;
  int pos_ = 0;
};

// Reads fields in the same order as ByteWriter writes them.
class ByteReader {
 public:
  explicit ByteReader(const uint8_t* in) : in_(in) {}
  uint8_t U8() { return in_[pos_++]; }
  uint16_t U16() {
    const uint16_t lo = U8();
    const uint16_t hi = U8();
    return static_cast<uint16_t>(lo | (hi << 8));
  }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() {
    const uint32_t lo = U16();
    const uint32_t hi = U16();
    return lo | (hi << 16);
  }
  float F32() { return std::bit_cast<float>(U32()); }
  template <std::size_t N>
  void Bytes(std::array<uint8_t, N>& a) {
    for (uint8_t& b : a) b = U8();
  }
  template <std::size_t N>
  void I16s(std::array<int16_t, N>& a) {
    for (int16_t& v : a) v = I16();
  }
  int Read() const { return pos_; }

 private:
  const uint8_t* in_;
  int pos_ = 0;
};

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559, "the version field is an IEEE float32");

void WritePiece(ByteWriter& w, const PieceRecord& p) {
  w.U8(p.type);
  w.U8(p.owner);
  w.U8(p.movesLeft);
  w.U8(p.state);
  w.U8(p.x);
  w.U8(p.y);
  w.U8(p.destX);
  w.U8(p.destY);
  w.I16(p.strength);
  w.I16(p.fuel);
  w.U8(p.facing);
  w.U8(p.production);
  w.U8(p.daysLeft);
  w.U8(p.unused15);
}

PieceRecord ReadPiece(ByteReader& r) {
  PieceRecord p;
  p.type = r.U8();
  p.owner = r.U8();
  p.movesLeft = r.U8();
  p.state = r.U8();
  p.x = r.U8();
  p.y = r.U8();
  p.destX = r.U8();
  p.destY = r.U8();
  p.strength = r.I16();
  p.fuel = r.I16();
  p.facing = r.U8();
  p.production = r.U8();
  p.daysLeft = r.U8();
  p.unused15 = r.U8();
  return p;
}

void WriteCell(ByteWriter& w, const MapCell& c) {
  w.U8(c.terrain);
  w.U8(c.explored);
  w.U8(c.visible);
  w.U8(c.landMass);
  w.U8(c.topType);
  w.U8(c.topOwner);
  w.U8(c.cityOrdinal);
  w.U8(c.tileVariant);
  w.U8(c.fighterRange);
  w.U8(c.bomberRange);
  w.U8(c.safeCityRange);
  w.U8(c.topFacing);
}

MapCell ReadCell(ByteReader& r) {
  MapCell c;
  c.terrain = r.U8();
  c.explored = r.U8();
  c.visible = r.U8();
  c.landMass = r.U8();
  c.topType = r.U8();
  c.topOwner = r.U8();
  c.cityOrdinal = r.U8();
  c.tileVariant = r.U8();
  c.fighterRange = r.U8();
  c.bomberRange = r.U8();
  c.safeCityRange = r.U8();
  c.topFacing = r.U8();
  return c;
}

}  // namespace

void EncodeSettings(const GameSettings& s, uint8_t* out) {
  ByteWriter w(out);
  w.F32(s.version);
  w.U8(s.width);
  w.U8(s.height);
  w.U8(s.landMassCount);
  w.U8(s.difficulty);
  w.Bytes(s.kind);
  w.U8(s.landAmount);
  w.Bytes(s.inUse);
  w.Bytes(s.days);
  w.Bytes(s.moves);
  w.Bytes(s.fuel);
  w.U8(s.unused55);
  assert(w.Written() == kSettingsBytes);
}

GameSettings DecodeSettings(const uint8_t* in) {
  ByteReader r(in);
  GameSettings s;
  s.version = r.F32();
  s.width = r.U8();
  s.height = r.U8();
  s.landMassCount = r.U8();
  s.difficulty = r.U8();
  r.Bytes(s.kind);
  s.landAmount = r.U8();
  r.Bytes(s.inUse);
  r.Bytes(s.days);
  r.Bytes(s.moves);
  r.Bytes(s.fuel);
  s.unused55 = r.U8();
  assert(r.Read() == kSettingsBytes);
  return s;
}

void EncodeState(const GameState& s, uint8_t* out) {
  ByteWriter w(out);
  w.I16(s.currentPiece);
  w.Bytes(s.unused2);
  w.I16(s.currentPlayer);
  w.I16(s.day);
  w.I16(s.viewingPlayer);
  w.I16(s.gameActive);
  w.I16(s.demoMode);
  w.I16(s.zoomIsWhole);
  w.U8(s.tileSize);
  w.U8(s.mapHidden);
  w.Bytes(s.unused18);
  w.Bytes(s.eliminated);
  w.Bytes(s.autoPlay);
  w.I16s(s.savedViewX);
  w.I16s(s.savedViewY);
  w.I16s(s.homeX);
  w.I16s(s.homeY);
  w.I16(s.viewX);
  w.I16(s.viewY);
  w.I16s(s.playerBit);
  w.I16s(s.moveMemory);
  assert(w.Written() == kStateBytes);
}

GameState DecodeState(const uint8_t* in) {
  ByteReader r(in);
  GameState s;
  s.currentPiece = r.I16();
  r.Bytes(s.unused2);
  s.currentPlayer = r.I16();
  s.day = r.I16();
  s.viewingPlayer = r.I16();
  s.gameActive = r.I16();
  s.demoMode = r.I16();
  s.zoomIsWhole = r.I16();
  s.tileSize = r.U8();
  s.mapHidden = r.U8();
  r.Bytes(s.unused18);
  r.Bytes(s.eliminated);
  r.Bytes(s.autoPlay);
  r.I16s(s.savedViewX);
  r.I16s(s.savedViewY);
  r.I16s(s.homeX);
  r.I16s(s.homeY);
  s.viewX = r.I16();
  s.viewY = r.I16();
  r.I16s(s.playerBit);
  r.I16s(s.moveMemory);
  assert(r.Read() == kStateBytes);
  return s;
}

void EncodePieces(const PieceTable& t, uint8_t* out) {
  ByteWriter w(out);
  for (const PieceRecord& p : t.slots) WritePiece(w, p);
  assert(w.Written() == kPieceTableBytes);
}

PieceTable DecodePieces(const uint8_t* in) {
  ByteReader r(in);
  PieceTable t;
  for (PieceRecord& p : t.slots) p = ReadPiece(r);
  assert(r.Read() == kPieceTableBytes);
  return t;
}

void EncodeWorld(const World& world, uint8_t* out) {
  ByteWriter w(out);
  for (const MapCell& c : world.cells) WriteCell(w, c);
  assert(w.Written() == kWorldBytes);
}

World DecodeWorld(const uint8_t* in) {
  ByteReader r(in);
  World world;
  for (MapCell& c : world.cells) c = ReadCell(r);
  assert(r.Read() == kWorldBytes);
  return world;
}

}  // namespace vortan

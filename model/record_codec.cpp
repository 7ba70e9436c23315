#include "model/records.h"

#include <cstdlib>

// Not written yet.
namespace vortan {
void EncodeSettings(const GameSettings& s, uint8_t* out) { std::abort(); }
GameSettings DecodeSettings(const uint8_t* in) { std::abort(); }
void EncodeState(const GameState& s, uint8_t* out) { std::abort(); }
GameState DecodeState(const uint8_t* in) { std::abort(); }
void EncodePieces(const PieceTable& t, uint8_t* out) { std::abort(); }
PieceTable DecodePieces(const uint8_t* in) { std::abort(); }
void EncodeWorld(const World& w, uint8_t* out) { std::abort(); }
World DecodeWorld(const uint8_t* in) { std::abort(); }
}  // namespace vortan

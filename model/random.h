// SPDX-License-Identifier: GPL-3.0-or-later
// The game's single pseudo-random generator: a 32-bit linear congruential
// generator whose draws are 15-bit values. Games replay identically from the
// same state, so every rule draws from this one instance, in a fixed order.
#pragma once

#include <cassert>
#include <cstdint>

namespace vortan {

class Random {
 public:
  explicit Random(uint32_t seed = 1) : state_(seed) {}
  // The generator's whole state, to restore a sequence or note where it stands.
  void SetState(uint32_t s) { state_ = s; }
  uint32_t State() const { return state_; }
  // One draw: 0 .. 32767.
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }
  // "r mod k" of the rules: the remainder of one fresh draw divided by k.
  // Every k comes from the rules' own constants or from attributes the load
  // check and the dialogs keep at 1 or more.
  int Mod(int k) {
    assert(k > 0);
    return Next() % k;
  }

 private:
  uint32_t state_;
};

}  // namespace vortan

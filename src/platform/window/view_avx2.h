// The scaler's two inner loops in AVX2, where the processor has them: a picture row filtered across
// eight client pixels from one load of the row, and client rows mixed down from two filtered rows with
// stores that bypass the cache. They give the bytes view.cpp's own loops give, which do what these leave.
#pragma once

#include <cstddef>
#include <cstdint>

// True when the loops below may run: an amd64 processor with AVX2, unless they were turned off.
bool Avx2_scaler();
// Turns the loops off (false), or back on where the processor has them: the tests run both ways.
void Use_avx2_scaler(bool on);

// Client pixels [at, n) of a row of m picture pixels filtered across into out: client pixel i mixes
// row[first[i]] and row[second[i]], weight[4 * i] of the second in 1/256, without their spare byte.
// Goes eight pixels at a time while the eight taps lie within eight pixels of the row; returns where
// it stopped, short of n when the next eight do not (or fewer are left).
size_t Across_avx2(const uint32_t* row, int m, const int* first, const int* second, const uint8_t* weight,
                   uint32_t* out, size_t at, size_t n);
// The bytes of a and b mixed into out, channel by channel, f of b in 1/256: whole blocks of 32 bytes,
// out aligned to 32 bytes. The caller fences the stores (Fence_avx2) before the pixels are shown.
void Down_avx2(const uint8_t* a, const uint8_t* b, int16_t f, uint8_t* out, size_t blocks);
// Whole blocks of 32 bytes copied to out, aligned to 32 bytes, past the cache; fenced as Down_avx2's.
void Copy_avx2(const uint8_t* from, uint8_t* out, size_t blocks);
void Fence_avx2();

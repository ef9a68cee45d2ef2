#pragma once

// The well-formedness scan reads the inside of the root element 64 bytes at a time, as bit masks
// with one bit per byte (bit i for byte i). Computing them is a large part of its cost: the
// functions here are inlined into the scan, once compiled for SSE2, which every x86-64 processor
// has, and once each for AVX2 and AVX-512 where the processor has them.

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#define ORLENTA_XML_BLOCKS_X86 1
// The instruction sets of the faster scan; XmlBlocksHaveAvx2 tells whether the processor has them.
#define ORLENTA_XML_BLOCKS_AVX2 __attribute__((target("avx2,bmi,bmi2,popcnt")))
#endif

namespace orlenta {

inline constexpr ptrdiff_t kXmlBlockSize = 64;

// The bytes of one block that matter inside an element. Everything else is names, white space
// and plain text.
struct TXmlBlockMasks {
    uint64_t Less = 0;
    uint64_t Greater = 0;
    uint64_t Quote = 0;      // '"'
    uint64_t MarkupSign = 0; // '!' and '?', which after '<' open no element
    uint64_t High = 0;       // bytes of UTF-8 sequences
    uint64_t Other = 0;      // '&', '\'' and controls
    // Among High: continuation bytes 80 to BF, and lead bytes other than C2 to DF, which begin an
    // overlong form or a sequence longer than two bytes. Both empty when High is.
    uint64_t Continuation = 0;
    uint64_t LongLead = 0;

    // The bytes that the byte-by-byte scan looks at.
    uint64_t Marked() const { return Less | Greater | Quote | High | Other; }
};

// The masks of the `count` bytes at p (at most kXmlBlockSize), one byte at a time.
inline TXmlBlockMasks PortableXmlBlockMasks(const char* p, ptrdiff_t count) {
    TXmlBlockMasks masks;
    for (ptrdiff_t i = 0; i < count; ++i) {
        const uint64_t bit = uint64_t{1} << i;
        const char c = p[i];
        const auto byte = static_cast<uint8_t>(c);
        if (c == '<')
            masks.Less |= bit;
        else if (c == '>')
            masks.Greater |= bit;
        else if (c == '"')
            masks.Quote |= bit;
        else if (c == '!' || c == '?')
            masks.MarkupSign |= bit;
        else if (byte < 0x20 || c == '&' || c == '\'')
            masks.Other |= bit;
        if (byte >= 0x80)
            masks.High |= bit;
        if (byte >= 0x80 && byte <= 0xBF)
            masks.Continuation |= bit;
        if (byte == 0xC0 || byte == 0xC1 || byte >= 0xE0)
            masks.LongLead |= bit;
    }
    masks.Other &= ~masks.High;
    return masks;
}

#if ORLENTA_XML_BLOCKS_X86

// As signed bytes, the controls and all UTF-8 bytes lie below 0x20, continuation bytes below -64
// (0xC0), the lead bytes C0 and C1 below -62, and those of longer sequences, E0 and up, above -33
// (0xDF). '&' | 1 == '\'' | 1.

// The masks of the full block at p, sixteen bytes per comparison.
[[gnu::always_inline]] inline TXmlBlockMasks Sse2XmlBlockMasks(const char* p) {
    __m128i v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto each = [&](auto test) {
        uint64_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(test(v[i]))))
                    << (16 * i);
        return bits;
    };
    TXmlBlockMasks masks;
    masks.Less = each([](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('<')); });
    masks.Greater = each([](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('>')); });
    masks.Quote = each([](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('"')); });
    masks.MarkupSign = each([](__m128i x) {
        return _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('!')),
                            _mm_cmpeq_epi8(x, _mm_set1_epi8('?')));
    });
    masks.High = each([](__m128i x) { return x; });
    masks.Other = each([](__m128i x) {
                      return _mm_or_si128(
                          _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x01)), _mm_set1_epi8(0x27)),
                          _mm_cmplt_epi8(x, _mm_set1_epi8(0x20)));
                  }) &
                  ~masks.High;
    if (masks.High != 0) {
        masks.Continuation = each([](__m128i x) { return _mm_cmplt_epi8(x, _mm_set1_epi8(-64)); });
        masks.LongLead = each([](__m128i x) {
                             return _mm_or_si128(_mm_cmplt_epi8(x, _mm_set1_epi8(-62)),
                                                 _mm_cmpgt_epi8(x, _mm_set1_epi8(-33)));
                         }) &
                         masks.High & ~masks.Continuation;
    }
    return masks;
}

[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline uint64_t Avx2Bits(__m256i low, __m256i high) {
    return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(low))) |
           static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
}

[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline __m256i Avx2Equal(__m256i x, char c) {
    return _mm256_cmpeq_epi8(x, _mm256_set1_epi8(c));
}

[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline __m256i Avx2Below(__m256i x, char limit) {
    return _mm256_cmpgt_epi8(_mm256_set1_epi8(limit), x);
}

[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline __m256i Avx2MarkupSign(__m256i x) {
    return _mm256_or_si256(Avx2Equal(x, '!'), Avx2Equal(x, '?'));
}

[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline __m256i Avx2Other(__m256i x) {
    return _mm256_or_si256(Avx2Equal(_mm256_or_si256(x, _mm256_set1_epi8(0x01)), 0x27),
                           Avx2Below(x, 0x20));
}

[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline __m256i Avx2LongLead(__m256i x) {
    return _mm256_or_si256(Avx2Below(x, -62), _mm256_cmpgt_epi8(x, _mm256_set1_epi8(-33)));
}

// The same with thirty-two bytes per comparison.
[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX2 inline TXmlBlockMasks
Avx2XmlBlockMasks(const char* p) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    TXmlBlockMasks masks;
    masks.Less = Avx2Bits(Avx2Equal(a, '<'), Avx2Equal(b, '<'));
    masks.Greater = Avx2Bits(Avx2Equal(a, '>'), Avx2Equal(b, '>'));
    masks.Quote = Avx2Bits(Avx2Equal(a, '"'), Avx2Equal(b, '"'));
    masks.MarkupSign = Avx2Bits(Avx2MarkupSign(a), Avx2MarkupSign(b));
    masks.High = Avx2Bits(a, b);
    masks.Other = Avx2Bits(Avx2Other(a), Avx2Other(b)) & ~masks.High;
    if (masks.High != 0) {
        masks.Continuation = Avx2Bits(Avx2Below(a, -64), Avx2Below(b, -64));
        masks.LongLead =
            Avx2Bits(Avx2LongLead(a), Avx2LongLead(b)) & masks.High & ~masks.Continuation;
    }
    return masks;
}

#define ORLENTA_XML_BLOCKS_AVX512 __attribute__((target("avx512f,avx512bw,bmi,bmi2,popcnt")))

// The same with one comparison for the whole block, straight into a bit mask.
[[gnu::always_inline]] ORLENTA_XML_BLOCKS_AVX512 inline TXmlBlockMasks
Avx512XmlBlockMasks(const char* p) {
    const __m512i v = _mm512_loadu_si512(p);
    TXmlBlockMasks masks;
    masks.Less = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('<'));
    masks.Greater = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('>'));
    masks.Quote = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('"'));
    masks.MarkupSign = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('!')) |
                       _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('?'));
    masks.High = _mm512_movepi8_mask(v);
    masks.Other = (_mm512_cmpeq_epi8_mask(_mm512_or_si512(v, _mm512_set1_epi8(0x01)),
                                          _mm512_set1_epi8(0x27)) |
                   _mm512_cmplt_epi8_mask(v, _mm512_set1_epi8(0x20))) &
                  ~masks.High;
    masks.Continuation = _mm512_cmplt_epi8_mask(v, _mm512_set1_epi8(-64));
    masks.LongLead = (_mm512_cmplt_epi8_mask(v, _mm512_set1_epi8(-62)) |
                      _mm512_cmpgt_epi8_mask(v, _mm512_set1_epi8(-33))) &
                     masks.High & ~masks.Continuation;
    return masks;
}

// True when the processor runs what ORLENTA_XML_BLOCKS_AVX2 compiles.
bool XmlBlocksHaveAvx2();
// True when the processor runs what ORLENTA_XML_BLOCKS_AVX512 compiles.
bool XmlBlocksHaveAvx512();

// The instruction sets the scan computes its masks with, each needing those before it.
enum class TXmlBlocksInstructions { Sse2, Avx2, Avx512 };
// What a scan beginning now uses: the best set the processor runs, at most the cap below. The
// scan asks once, not per block.
TXmlBlocksInstructions XmlBlocksInstructions();
// For tests and measurements, which run each set the processor has: scans beginning from now on
// use at most `most`. Safe from any thread; a scan under way keeps what it began with.
void CapXmlBlocksInstructions(TXmlBlocksInstructions most);

#endif

} // namespace orlenta

// The report's number formats: picture formatter, plain number form, safe format, adaptive
// number field, multi-field line.
//
// Expected values that are not worked examples of the format descriptions come from Python's
// decimal module on the exact value of the 32-bit float, with
//   import struct; from decimal import *
//   f32 = lambda x: Decimal(struct.unpack('f', struct.pack('f', x))[0])
//   q = lambda x, n: f32(x).quantize(Decimal(1).scaleb(-n), rounding=ROUND_HALF_UP)
//   c7 = Context(prec=7, rounding=ROUND_HALF_UP)
// and the Python expression is given next to the number.
#include "frame/picture.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace veltrum {
namespace {

TEST(PictureFixed, WorkedExamples) {
  EXPECT_EQ(picture_format("##.######", 0.05f), " 0.050000");
  EXPECT_EQ(picture_format("##.######", -0.05f), "-0.050000");
  EXPECT_EQ(picture_format("####", -8.0f), "  -8");
  EXPECT_EQ(picture_format("####", 12345.0f), "12345");  // the field grows to five characters
  EXPECT_EQ(picture_format("#", 0.5f), "1");
  EXPECT_EQ(picture_format("##", -2.5f), "-3");
  EXPECT_EQ(picture_format("##.######", 0.5f), " 0.500000");
  EXPECT_EQ(picture_format("#.######", -0.5f), "-.500000");
  EXPECT_EQ(picture_format("##", 123.0f), "123");
}

TEST(PictureFixed, RoundsHalfUpOnTheExactValue) {
  // Ties at the last position go away from zero (printf would give 0.12, 2 and -0.12).
  EXPECT_EQ(picture_format("#.##", 0.125f), "0.13");     // q(0.125, 2) == 0.13
  EXPECT_EQ(picture_format("#", 2.5f), "3");             // q(2.5, 0) == 3
  EXPECT_EQ(picture_format("##.##", -0.125f), "-0.13");  // q(-0.125, 2) == -0.13
  EXPECT_EQ(picture_format("#.##", 0.375f), "0.38");     // q(0.375, 2) == 0.38
  // The float nearest 1.005 lies below it, the one nearest 0.045 above it.
  EXPECT_EQ(picture_format("#.##", 1.005f), "1.00");  // q(1.005, 2) == 1.00
  EXPECT_EQ(picture_format("#.##", 0.045f), "0.05");  // q(0.045, 2) == 0.05
  // All digits of a large float are its exact digits.
  EXPECT_EQ(picture_format("##", 1e17f), "99999998430674944");        // f32(1e17)
  EXPECT_EQ(picture_format("##.##", 1e17f), "99999998430674944.00");  // q(1e17, 2): 19 digits
}

// The fixed form's two roundings of |x| 10^places: the 64-bit one must give the digits of the
// exact decimal expansion wherever it applies.  Values: random ones over the whole float range
// (where the fast one declines or gives 0), random ones of every magnitude from 1e-9 to 2^31, the
// exact halves at each number of places (an odd multiple of 2^-(places + 1) times 10^places is an
// odd multiple of 5^places / 2), the floats nearest to (j + 1/2) / 10^places, and the neighbours of
// both on either side.  Both signs.
TEST(PictureFixed, FastRoundingGivesTheDigitsOfTheExactOne) {
#ifdef __SANITIZE_ADDRESS__
  constexpr int rounds = 10000, least_compared = 100000;  // the unoptimised build looks for memory faults
#else
  constexpr int rounds = 200000, least_compared = 2000000;
#endif
  std::mt19937 random(2026);
  long compared = 0, declined = 0;
  const auto check = [&](float x, int places) {
    const auto fast = scaled_digits_fast(x, places);
    if (!fast) {
      ++declined;
      return;
    }
    ++compared;
    const std::string expected = scaled_digits_exact(x, places);
    ASSERT_EQ(*fast == 0 ? std::string() : std::to_string(*fast), expected) << x << " at " << places;
  };
  const auto with_neighbours = [&](float x, int places) {
    for (const float y : {x, std::nextafter(x, 0.0f), std::nextafter(x, 1e30f)}) {
      check(y, places);
      check(-y, places);
    }
  };
  std::uniform_real_distribution<double> log_magnitude(-9.0, 9.33);  // up to 2^31
  for (int i = 0; i < rounds; ++i) {
    const int places = static_cast<int>(random() % 9);
    const std::uint32_t bits = static_cast<std::uint32_t>(random());
    float any;
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any)) check(any, places);
    with_neighbours(static_cast<float>(std::pow(10.0, log_magnitude(random))), places);
    const std::uint32_t odd = 2 * static_cast<std::uint32_t>(random() % (1u << 22)) + 1;
    with_neighbours(std::ldexp(static_cast<float>(odd), -(places + 1)), places);
    const double j = static_cast<double>(random() % 100000000u);
    with_neighbours(static_cast<float>((j + 0.5) / std::pow(10.0, places)), places);
  }
  EXPECT_GT(compared, least_compared);
  EXPECT_GT(declined, rounds / 20);
  // Beyond its range the fast rounding declines: 2^31, 9 places, infinities and NaN.
  EXPECT_FALSE(scaled_digits_fast(2147483648.0f, 0));
  EXPECT_TRUE(scaled_digits_fast(2147483520.0f, 8));
  EXPECT_FALSE(scaled_digits_fast(1.0f, 9));
  EXPECT_FALSE(scaled_digits_fast(std::numeric_limits<float>::infinity(), 2));
  EXPECT_FALSE(scaled_digits_fast(std::numeric_limits<float>::quiet_NaN(), 2));
}

TEST(PictureFixed, SwitchesToExponentFormBeyondNineteenDigits) {
  // 18 integer digits and 2 places: 20 digits.  f32(5e17) == 499999992153374720
  EXPECT_EQ(picture_format("##.##", 5e17f), " 5.00E+17");
  // f32(1e19) == 9999999980506447872, (f32(1e19) / 10**19).quantize(Decimal('0.01'), ROUND_HALF_UP) == 1.00
  EXPECT_EQ(picture_format("##.##", 1e19f), " 1.00E+19");
}

TEST(PictureFixed, LiteralText) {
  EXPECT_EQ(picture_format("Prüfgröße Chi²=###.## : ", 3.14159f), "Prüfgröße Chi²=  3.14 : ");
  // Bytes above 127 are copied one by one: here "Chi²" in Windows-1252 spelt out.
  EXPECT_EQ(picture_format("Chi\xB2=###.## : ", 3.14159f), "Chi\xB2=  3.14 : ");
  // An escaped "!" is copied; 0.03125 is exact.
  EXPECT_EQ(picture_format("Exakter Binomial-Test : p=#.###### ein\\!seitig", 0.03125f),
            "Exakter Binomial-Test : p=0.031250 ein!seitig");
  EXPECT_EQ(picture_format("\\### Stück", 5.0f), "# 5 Stück");
  // An unescaped "!" or "&" ends the output, before or after the field.
  EXPECT_EQ(picture_format("p =#.## zwei!seitig", 0.5f), "p =0.50 zwei");
  EXPECT_EQ(picture_format("a ## & b", 5.0f), "a  5 ");
  EXPECT_EQ(picture_format("Achtung! ##", 5.0f), "Achtung");
  // So does the start of a second field.
  EXPECT_EQ(picture_format("A=## B=##", 5.0f), "A= 5 B=");
  // A "." not followed by "#" is literal text.
  EXPECT_EQ(picture_format("Nr. ##", 5.0f), "Nr.  5");
}

TEST(PictureFixed, ZeroPositions) {
  EXPECT_EQ(picture_format("0000", 42.0f), "0042");
  EXPECT_EQ(picture_format("00.##", 0.5f), "00.50");
  // Our reading: the "-" stands directly left of the first digit, the zeros fill the rest.
  EXPECT_EQ(picture_format("000", -8.0f), "0-8");
}

TEST(PictureFixed, ImplementerChoices) {
  EXPECT_EQ(picture_format("Ende.", 5.0f), "Ende.");     // no field: the value is not shown
  EXPECT_EQ(picture_format("##^^", 5.0f), " 5^^");       // two carets are literal text
  EXPECT_EQ(picture_format("##.##", -0.001f), "-0.00");  // the sign of a value rounded to 0 stays
  EXPECT_EQ(picture_format("#", -0.25f), "-0");          // some digit is always shown
  EXPECT_EQ(picture_format("##.##", -0.0f), " 0.00");    // minus zero is not negative
}

TEST(PictureExponent, WorkedExamples) {
  EXPECT_EQ(picture_format(" ##.###^^^^", 12345.678f), "  1.235E+04");
  EXPECT_EQ(picture_format("0.#^^^^", 0.0123f), "0.1E-01");
  EXPECT_EQ(picture_format("0.#^^^^", -0.0123f), "-.1E-01");
  // Exponents 5 and -12 with four carets.
  // (f32(123456) / 10**5).quantize(Decimal('0.01'), ROUND_HALF_UP) == 1.23
  EXPECT_EQ(picture_format("##.##^^^^", 123456.0f), " 1.23E+05");
  // (f32(1.5e-12) * 10**12).quantize(Decimal('0.01'), ROUND_HALF_UP) == 1.50
  EXPECT_EQ(picture_format("##.##^^^^", 1.5e-12f), " 1.50E-12");
}

TEST(PictureExponent, RenormalisesOnCarry) {
  // f32(9.9995) == 9.999500274658203125, rounded to 3 places 10.000, so 1.000E+01
  EXPECT_EQ(picture_format("##.###^^^^", 9.9995f), " 1.000E+01");
  // f32(-9999.99) == -9999.990234375: 9.999990234375 rounds to 10.000
  EXPECT_EQ(picture_format("##.###^^^^", -9999.99f), "-1.000E+04");
}

TEST(PictureExponent, Layout) {
  // Two mantissa digits before the point: (f32(12345.678) / 1000).quantize(Decimal('0.01'), ROUND_HALF_UP) == 12.35
  EXPECT_EQ(picture_format("###.##^^^^", 12345.678f), " 12.35E+03");
  // (f32(-12345.678) / 10**4).quantize(Decimal('0.001'), ROUND_HALF_UP) == -1.235
  EXPECT_EQ(picture_format(" ##.###^^^^", -12345.678f), " -1.235E+04");
  // Three carets: one exponent digit, more when needed.
  EXPECT_EQ(picture_format("##.##^^^", 123456.0f), " 1.23E+5");
  EXPECT_EQ(picture_format("##.##^^^", 1.5e-12f), " 1.50E-12");
  // The large-value picture of the chi-square line: (f32(123.4) / 1000) == 0.1234..., one digit 0.1
  EXPECT_EQ(picture_format("Prüfgröße Chi²=0.#^^^^: ", 123.4f), "Prüfgröße Chi²=0.1E+03: ");
  EXPECT_EQ(picture_format("#.#^^^^", 0.0123f), " .1E-01");
  // Our choice for zero.
  EXPECT_EQ(picture_format("##.###^^^^", 0.0f), " 0.000E+00");
}

TEST(PicturePlainNumber, WorkedExamples) {
  EXPECT_EQ(plain_number(3.0f), " 3 ");
  EXPECT_EQ(plain_number(-0.25f), "-.25 ");
  EXPECT_EQ(plain_number(12345678.0f), " 1.234568E+7 ");
  EXPECT_EQ(number_text(0.5f), " .5");
  EXPECT_EQ(number_text(-0.25f), "-.25");
  EXPECT_EQ(number_text(0.0001234f), " .0001234");
  EXPECT_EQ(number_text(0.00001234f), " 1.234E-5");
  EXPECT_EQ(number_text(0.0000000015f), " 1.5E-9");
  EXPECT_EQ(number_text(1e10f), " 1E+10");
}

TEST(PicturePlainNumber, SevenDigitsHalfUp) {
  EXPECT_EQ(number_text(0.0f), " 0");
  EXPECT_EQ(number_text(-1234.5f), "-1234.5");
  EXPECT_EQ(number_text(0.1f), " .1");                  // c7.plus(f32(0.1)) == 0.1000000
  EXPECT_EQ(number_text(2.0f / 3.0f), " .6666667");     // c7.plus(f32(2/3)) == 0.6666667
  EXPECT_EQ(number_text(12345665.0f), " 1.234567E+7");  // c7.plus(f32(12345665)) == 1.234567E+7
  EXPECT_EQ(number_text(1234568.5f), " 1234569");       // c7.plus(f32(1234568.5)) == 1234569
  EXPECT_EQ(number_text(99999992.0f), " 9.999999E+7");  // c7.plus(f32(99999992)) == 9.999999E+7
  // Seven places after the point are still fixed, eight are not.
  EXPECT_EQ(number_text(1e-7f), " .0000001");           // c7.plus(f32(1e-7)) == 1.000000E-7
  EXPECT_EQ(number_text(1.5e-7f), " 1.5E-7");           // c7.plus(f32(1.5e-7)) == 1.500000E-7
  EXPECT_EQ(number_text(0.01234567f), " 1.234567E-2");  // c7.plus(f32(0.01234567)) == 0.01234567
  // Rounding carries into the next power of ten.
  EXPECT_EQ(number_text(0.01f), " .01");    // f32(0.01) == 0.00999999977..., c7.plus(...) == 0.01000000
  EXPECT_EQ(number_text(1e17f), " 1E+17");  // f32(1e17) == 99999998430674944, c7.plus(...) == 1.000000E+17
  EXPECT_EQ(number_text(1e-8f), " 1E-8");   // f32(1e-8) == 9.99999993...E-9, c7.plus(...) == 1.000000E-8
}

TEST(PicturePlainNumber, TrimmedText) {
  EXPECT_EQ(number_text_trimmed(3.0f), "3");
  EXPECT_EQ(number_text_trimmed(-0.25f), "-.25");
  EXPECT_EQ(number_text_trimmed(12345678.0f), "1.234568E+7");
}

TEST(PictureSafeFormat, FixedTexts) {
  EXPECT_EQ(safe_format(2e38f, "##.######"), " |x|>1E38");
  EXPECT_EQ(safe_format(-2e38f, "##.######"), " |x|>1E38");
  EXPECT_EQ(safe_format(2e38f, "####.###"), "       $");  // 8 characters are not enough for the text
  EXPECT_EQ(safe_format(2e38f, "####"), "   $");
  EXPECT_EQ(safe_format(5e20f, "####.##"), "      $");  // no carets in the picture
  EXPECT_EQ(safe_format(std::numeric_limits<float>::infinity(), "##.######"), " |x|>1E38");
}

TEST(PictureSafeFormat, ExponentBuiltFromMantissa) {
  // f32(2.5e20) / 10**20 == 2.50000005..., which as a float is 2.5
  EXPECT_EQ(safe_format(2.5e20f, "##.##^^^^ Ende"), " 2.50E+20 Ende");
  // f32(3e25) / 10**25 is 3.0 as a float
  EXPECT_EQ(safe_format(-3e25f, " ##.###^^^^"), " -3.000E+25");
  // 1E38 itself is not above the bound: f32(1e38) == 9.99999968...E+37, mantissa 9.9999997 rounds to 10.000
  EXPECT_EQ(safe_format(1e38f, " ##.###^^^^"), " 10.000E+37");
}

TEST(PictureSafeFormat, OrdinaryValuesUseThePicture) {
  EXPECT_EQ(safe_format(3.14159f, "##.##"), " 3.14");
  EXPECT_EQ(safe_format(123.0f, "##"), "123");  // the picture format grows
}

TEST(PictureAdaptiveFormat, WorkedExamples) {
  EXPECT_EQ(adaptive_number(0.0f), "     0.0000");
  EXPECT_EQ(adaptive_number(123456.0f), "  1.235E+05");
  EXPECT_EQ(adaptive_number(-12345.0f), " -1.235E+04");
  EXPECT_EQ(adaptive_number(0.00005f), "  5.000E-05");
  EXPECT_EQ(adaptive_number(2.5e20f), "  2.500E+20");
  EXPECT_EQ(adaptive_number(2e38f), "   |x|>1E38");
}

TEST(PictureAdaptiveFormat, Bounds) {
  // f32(99999.98) == 99999.9765625, q(99999.98, 4) == 99999.9766
  EXPECT_EQ(adaptive_number(99999.98f), " 99999.9766");
  // f32(99999.99) == 99999.9921875 is above 99999.99; the mantissa rounds up to 10.000
  EXPECT_EQ(adaptive_number(99999.99f), "  1.000E+05");
  // f32(-9999.98) == -9999.98046875, q(-9999.98, 4) == -9999.9805
  EXPECT_EQ(adaptive_number(-9999.98f), " -9999.9805");
  // f32(-9999.99) == -9999.990234375 is below -9999.99
  EXPECT_EQ(adaptive_number(-9999.99f), " -1.000E+04");
  // f32(1e-30) == 1.00000000317...E-30
  EXPECT_EQ(adaptive_number(1e-30f), "  1.000E-30");
  EXPECT_EQ(adaptive_number(1e-37f), "     0.0000");  // below 1E-36 counts as zero
  // Our choice, the bounds are exact decimals: f32(0.0001) == 0.0000999999974... is below 0.0001
  EXPECT_EQ(adaptive_number(0.0001f), "  1.000E-04");
  // and f32(1e18) == 999999984306749440 is below 1E18, so the picture does the exponent form.
  EXPECT_EQ(adaptive_number(1e18f), "  1.000E+18");
}

TEST(PictureMultiFieldLine, WorkedExample) {
  // q(0.064, 6) == 0.064000
  EXPECT_EQ(multi_field_line("H =####.#### : Chi²-verteilt mit df =## ( p =##.###### )", {5.5f, 2.0f, 0.064f, 0, 0, 0}),
            "H =   5.5000 : Chi²-verteilt mit df = 2 ( p = 0.064000 )");
}

TEST(PictureMultiFieldLine, FieldsAndLiterals) {
  // No escapes: "\", "!" and "&" are written as they are.
  EXPECT_EQ(multi_field_line("x\\=## !&", {7.0f, 0, 0, 0, 0, 0}), "x\\= 7 !&");
  // A field ends at its last "#"; a "." without "#" after it, and carets, are literal text.
  EXPECT_EQ(multi_field_line("df =##. Ende", {2.0f, 0, 0, 0, 0, 0}), "df = 2. Ende");
  EXPECT_EQ(multi_field_line("##^^^^", {5.0f, 0, 0, 0, 0, 0}), " 5^^^^");
  EXPECT_EQ(multi_field_line(".## und #.#", {0.25f, -0.5f, 0, 0, 0, 0}), ".25 und -.5");
  // Each field is a safe format.
  EXPECT_EQ(multi_field_line("p =##.## q", {2e38f, 0, 0, 0, 0, 0}), "p =    $ q");
  EXPECT_EQ(multi_field_line("Chi\xB2=##", {3.0f, 0, 0, 0, 0, 0}), "Chi\xB2= 3");
}

TEST(PictureMultiFieldLine, SeventhFieldWritesFiveValues) {
  EXPECT_EQ(multi_field_line("#a#b#c#d#e#f#g#", {1, 2, 3, 4, 5, 6}), "1a2b3c4d5e6f 1  2  3  4  5 ");
  EXPECT_EQ(multi_field_line("#.# #.# # # # # # Ende", {0.5f, -2, 3, 4, 5, 6}), "0.5 -2.0 3 4 5 6  .5 -2  3  4  5 ");
}

TEST(PictureNonFinite, ImplementerChoices) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(picture_format("x=##.##", -inf), "x= -Inf");
  EXPECT_EQ(picture_format("##.##", nan), "  NaN");
  EXPECT_EQ(number_text(nan), " NaN");
  EXPECT_EQ(adaptive_number(nan), "        NaN");
}

}  // namespace
}  // namespace veltrum

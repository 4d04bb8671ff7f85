// The floating-point control state at the plug-in's borders.
//
// The computations expect the x87 unit at extended precision, rounding to nearest, with every
// exception masked (control word 0x037F), and the SSE unit, which does float and double here, in
// its power-on state (MXCSR 0x1F80).  A host may hand over other settings (53-bit precision is
// common), and message boxes may leave the unit changed: `FpuGuard` sets the standard state for
// the length of a `Veltrum` call and gives the caller's state back; `reset_fpu` restores the
// standard state after a message box.
#pragma once

#include <cstdint>

namespace veltrum::win32 {

inline constexpr std::uint16_t x87_standard = 0x037F;
inline constexpr std::uint32_t mxcsr_standard = 0x1F80;

inline std::uint16_t x87_control_word() {
  std::uint16_t cw = 0;
  asm volatile("fnstcw %0" : "=m"(cw) : : "memory");
  return cw;
}

inline void set_x87_control_word(std::uint16_t cw) { asm volatile("fnclex\n\tfldcw %0" : : "m"(cw) : "memory"); }

inline std::uint32_t mxcsr() {
  std::uint32_t value = 0;
  asm volatile("stmxcsr %0" : "=m"(value) : : "memory");
  return value;
}

inline void set_mxcsr(std::uint32_t value) { asm volatile("ldmxcsr %0" : : "m"(value) : "memory"); }

// Round to nearest, extended precision, all exceptions masked and cleared.
inline void reset_fpu() {
  set_x87_control_word(x87_standard);
  set_mxcsr(mxcsr_standard);
}

class FpuGuard {
 public:
  FpuGuard() : x87_(x87_control_word()), sse_(mxcsr()) { reset_fpu(); }
  ~FpuGuard() {
    set_x87_control_word(x87_);
    set_mxcsr(sse_);
  }
  FpuGuard(const FpuGuard&) = delete;
  FpuGuard& operator=(const FpuGuard&) = delete;

 private:
  std::uint16_t x87_;
  std::uint32_t sse_;
};

}  // namespace veltrum::win32

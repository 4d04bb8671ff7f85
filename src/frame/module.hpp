// The one module-wide object: run-state, remembered dialog inputs, the work arrays and the
// data-file arrays, and the report file.  The DLL owns one; the command line one per run; tests
// make their own.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "frame/capacities.hpp"
#include "frame/checked_array.hpp"
#include "frame/host.hpp"
#include "frame/report.hpp"
#include "frame/result.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

// Selections and numbers the user typed, so that a re-shown dialog is pre-filled.  Their meaning
// belongs to each test; all are 0 after the reset at the start of a call.
struct RememberedInputs {
  std::array<std::int16_t, 10> whole{};
  std::array<std::int32_t, 2> wide{};
  std::array<float, 2> real{};
};

// The nine work arrays the tests share; zero-filled and re-created at every call.
struct WorkArrays {
  CheckedArray2<float> w1{0, 2, 0, 2};
  CheckedArray<float> w2{0, list_capacity};
  CheckedArray<float> w3{0, list_capacity};
  CheckedArray<float> w4{0, table_capacity};
  CheckedArray<std::int16_t> w5{0, table_capacity};
  CheckedArray<float> w6{0, table_capacity};
  CheckedArray<std::int16_t> w7{0, table_capacity};
  CheckedArray<std::int16_t> w8{0, table_capacity};
  CheckedArray<std::int16_t> w9{0, variable_capacity};

  void reset() {
    w1.reset(), w2.reset(), w3.reset(), w4.reset(), w5.reset();
    w6.reset(), w7.reset(), w8.reset(), w9.reset();
  }
};

// The header of the active data file: names, column starts and missing-value codes of up to 200
// variables, indices 0..201.  Kept between calls.
struct DataFileArrays {
  CheckedArray<std::string> names{0, variable_capacity};
  CheckedArray<std::int16_t> starts{0, variable_capacity};
  CheckedArray<float> missing{0, variable_capacity};
};

inline constexpr std::string_view report_path = "C:\\Ausgabe.";

struct CatalogueEntry;

struct Module {
  explicit Module(Host& h) : host(h) {}
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  Host& host;

  // Recorded by LIBMAIN and by each Veltrum call.
  std::uintptr_t instance = 0;
  std::uintptr_t host_window = 0;
  std::string data_file_name;
  std::string test_letter;
  std::string rect_text;
  const CatalogueEntry* test = nullptr;  // the catalogue entry of the test running in this pass

  // Run-state shared by the dispatcher and the tests (frame/run_state.hpp).
  std::int32_t dialog_result = dialog_cancelled;  // dialog_computed: a report was written
  Rerun rerun = Rerun::no;
  std::string keyword;
  RememberedInputs remembered;
  bool stopped = false;            // the cancel flag: a loader or the test stopped the run; kept
                                   // between calls, each loader clears it first
  bool listing = false;            // the listing flag: list the data read in the report
  std::int32_t listing_check = 0;  // the group dialogs' listing check box, 1/0; never reset

  WorkArrays work;
  DataFileArrays data;

  ReportFile report;
  // Takes the result of each pass that writes a report; none in the DLL.
  ResultSink* result_sink = nullptr;
};

}  // namespace veltrum

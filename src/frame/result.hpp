// The result value of a run: what a test's analysis found, handed by the frame to the report
// writer and to an optional result sink (the command line may install one; the DLL has none).
//
// Each letter's result struct holds the statistics, the p-values with how each was obtained,
// estimates, intervals and comparisons at the precision computed, and the groups or variables it
// used.  The pieces every letter shares are defined here.
#pragma once

#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace veltrum {

struct CatalogueEntry;

// How a p-value was obtained.
enum class Obtained {
  exact,        // from the exact null distribution
  approximate,  // from an asymptotic distribution
  table_class   // only its class is known: below (or above) a tabled level
};

enum class Sides { one = 1, two = 2 };

// One p-value as a report gives it.  For Obtained::table_class, `p` is the level that bounds it
// and `above` says whether p lies above that level (not reached) or below it.
struct PValue {
  std::string_view of;  // what it belongs to: "U", "Z", "H", "Chi2", "Fisher", "D", ...
  float p = 0;
  Obtained how = Obtained::approximate;
  Sides sides = Sides::two;
  bool above = false;
};

// A variable of the data file as a loader chose it: its column (from 1) and its name.
struct VariableUsed {
  int column = 0;
  std::string name;
};

// A group (a value of the group variable, or a variable of a blocked design) and the values it
// gave.
struct GroupUsed {
  int number = 0;
  int n = 0;
};

// What a data-file test read: the target variables in the loader's order, the group variable
// (column 0: none) and the groups with their counts.
struct DataUsed {
  std::vector<VariableUsed> variables;
  VariableUsed group_variable;
  std::vector<GroupUsed> groups;
};

// A result value of any letter, seen without copying it: the reader asks for the struct it knows
// (`get<UTest>()`), which is null for any other.
class ResultRef {
 public:
  template <typename Result>
  explicit ResultRef(const Result& result) : value_(&result), type_(&typeid(Result)) {}

  template <typename Result>
  const Result* get() const {
    return *type_ == typeid(Result) ? static_cast<const Result*>(value_) : nullptr;
  }
  const std::type_info& type() const { return *type_; }

 private:
  const void* value_;
  const std::type_info* type_;
};

// Where the result of each run that writes a report goes besides the report.  The value lives
// only for the call.
class ResultSink {
 public:
  virtual ~ResultSink() = default;
  virtual void take(const CatalogueEntry& test, const ResultRef& result) = 0;
};

}  // namespace veltrum

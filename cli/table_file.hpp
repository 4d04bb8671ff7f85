// A table written as an active data file of the host's format: the header line of
// name;N;width;decimals fields, then one fixed-width record per line (column 1 takes its width + 1
// characters, every further column a separating blank and its width), values right-aligned, a
// missing value blank, lines ending in CR LF.  Numbers are written as the table holds them, so the
// module reads the very numbers of the input; a text column holds its label numbers.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "table_input.hpp"

namespace veltrum::cli {

// All bytes of a file, or of standard input for "-"; throws std::runtime_error saying why not.
std::string read_bytes(const std::string& name);

// The numbers 0 to records - 1: every record of the table.
std::vector<std::size_t> all_records(const Table& table);

// The data file of the given records (in their order), as bytes (Windows-1252).
std::string data_file_text(const Table& table, std::span<const std::size_t> records);

// The same written to `path`; throws std::runtime_error when it cannot be written whole.
void write_data_file(const Table& table, std::span<const std::size_t> records, const std::string& path);

}  // namespace veltrum::cli

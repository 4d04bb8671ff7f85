#include "blocked/wilcoxon_wilcox.hpp"

#include "frame/errors.hpp"

namespace veltrum {

namespace {

// Level 5 %, row r = 1..25, columns c = 3..10.
//
// The published table is built on the range of c normal variables: its entries agree with
// q(0.95; c, inf) * sqrt(r c (c + 1) / 12) to the tenth, up to the last-digit rounding of a few
// cells.  The cell r = 4, c = 10 is missing from the copy of the table we worked from; 27.1 is
// interpolated, not read from the printed page: the table's formula gives it (R: qtukey(0.95, 10,
// Inf) * sqrt(4 * 10 * 11 / 12) = 27.09), and so does the sqrt(r) scaling of its neighbour
// r = 5 (30.3 * sqrt(4 / 5) = 27.10).  Check it against the printed table when one is at hand.
constexpr float table_05[ww_max_rows][8] = {
    {3.3f, 4.7f, 6.1f, 7.5f, 9.0f, 10.5f, 12.0f, 13.5f},      {4.7f, 6.6f, 8.6f, 10.7f, 12.7f, 14.8f, 17.0f, 19.2f},
    {5.7f, 8.1f, 10.6f, 13.1f, 15.6f, 18.2f, 20.8f, 23.5f},   {6.6f, 9.4f, 12.2f, 15.1f, 18.0f, 21.0f, 24.0f, 27.1f},
    {7.4f, 10.5f, 13.6f, 16.9f, 20.1f, 23.5f, 26.9f, 30.3f},  {8.1f, 11.5f, 14.9f, 18.5f, 22.1f, 25.7f, 29.4f, 33.2f},
    {8.8f, 12.4f, 16.1f, 19.9f, 23.9f, 27.8f, 31.8f, 35.8f},  {9.4f, 13.3f, 17.3f, 21.3f, 25.5f, 29.7f, 34.0f, 38.3f},
    {9.9f, 14.1f, 18.3f, 22.6f, 27.0f, 31.5f, 36.0f, 40.6f},  {10.5f, 14.8f, 19.3f, 23.8f, 28.5f, 33.2f, 38.0f, 42.8f},
    {11.0f, 15.6f, 20.2f, 25.0f, 29.9f, 34.8f, 39.8f, 44.9f}, {11.5f, 16.2f, 21.1f, 26.1f, 31.2f, 36.4f, 41.6f, 46.9f},
    {11.9f, 16.9f, 22.0f, 27.2f, 32.5f, 37.9f, 43.3f, 48.8f}, {12.4f, 17.5f, 22.8f, 28.2f, 33.7f, 39.3f, 45.0f, 50.7f},
    {12.8f, 18.2f, 23.6f, 29.2f, 34.9f, 40.7f, 46.5f, 52.5f}, {13.3f, 18.8f, 24.4f, 30.2f, 36.0f, 42.0f, 48.1f, 54.2f},
    {13.7f, 19.3f, 25.2f, 31.1f, 37.1f, 43.3f, 49.5f, 55.9f}, {14.1f, 19.9f, 25.9f, 32.0f, 38.2f, 44.5f, 51.0f, 57.5f},
    {14.4f, 20.4f, 26.6f, 32.9f, 39.3f, 45.8f, 52.4f, 59.0f}, {14.8f, 21.0f, 27.3f, 33.7f, 40.3f, 47.0f, 53.7f, 60.6f},
    {15.2f, 21.5f, 28.0f, 34.6f, 41.3f, 48.1f, 55.1f, 62.1f}, {15.5f, 22.0f, 28.6f, 35.4f, 42.3f, 49.2f, 56.4f, 63.5f},
    {15.9f, 22.5f, 29.3f, 36.2f, 43.2f, 50.3f, 57.6f, 65.0f}, {16.2f, 23.0f, 29.9f, 36.9f, 44.1f, 51.4f, 58.9f, 66.4f},
    {16.6f, 23.5f, 30.5f, 37.7f, 45.0f, 52.5f, 60.1f, 67.7f},
};

// Level 1 %, row r = 1..25, columns c = 3..10.
constexpr float table_01[ww_max_rows][8] = {
    {4.1f, 5.7f, 7.3f, 8.9f, 10.5f, 12.2f, 13.9f, 15.6f},     {5.8f, 8.0f, 10.3f, 12.6f, 14.9f, 17.3f, 19.7f, 22.1f},
    {7.1f, 9.8f, 12.6f, 15.4f, 18.3f, 21.2f, 24.1f, 27.0f},   {8.2f, 11.4f, 14.6f, 17.8f, 21.1f, 24.4f, 27.8f, 31.2f},
    {9.2f, 12.7f, 16.3f, 19.9f, 23.6f, 27.3f, 31.1f, 34.9f},  {10.1f, 13.9f, 17.8f, 21.8f, 25.8f, 29.9f, 34.1f, 38.2f},
    {10.9f, 15.0f, 19.3f, 23.5f, 27.9f, 32.3f, 36.8f, 41.3f}, {11.7f, 16.1f, 20.6f, 25.2f, 29.8f, 34.6f, 39.3f, 44.2f},
    {12.4f, 17.1f, 21.8f, 26.7f, 31.6f, 36.6f, 41.7f, 46.8f}, {13.0f, 18.0f, 23.0f, 28.1f, 33.4f, 38.6f, 44.0f, 49.4f},
    {13.7f, 18.9f, 24.1f, 29.5f, 35.0f, 40.5f, 46.1f, 51.8f}, {14.3f, 19.7f, 25.2f, 30.8f, 36.5f, 42.3f, 48.2f, 54.1f},
    {14.9f, 20.5f, 26.2f, 32.1f, 38.0f, 44.0f, 50.1f, 56.3f}, {15.4f, 21.3f, 27.2f, 33.3f, 39.5f, 45.7f, 52.0f, 58.4f},
    {16.0f, 22.0f, 28.2f, 34.5f, 40.8f, 47.3f, 53.9f, 60.5f}, {16.5f, 22.7f, 29.1f, 35.6f, 42.2f, 48.9f, 55.6f, 62.5f},
    {17.0f, 23.4f, 30.0f, 36.7f, 43.5f, 50.4f, 57.3f, 64.4f}, {17.5f, 24.1f, 30.9f, 37.8f, 44.7f, 51.8f, 59.0f, 66.2f},
    {18.0f, 24.8f, 31.7f, 38.8f, 46.0f, 53.2f, 60.6f, 68.1f}, {18.4f, 25.4f, 32.5f, 39.8f, 47.2f, 54.6f, 62.2f, 69.8f},
    {18.9f, 26.0f, 33.4f, 40.9f, 48.3f, 56.0f, 63.7f, 71.6f}, {19.3f, 26.7f, 34.1f, 41.7f, 49.5f, 57.3f, 65.2f, 73.2f},
    {19.8f, 27.3f, 34.9f, 42.7f, 50.6f, 58.6f, 66.7f, 74.9f}, {20.2f, 27.8f, 35.7f, 43.6f, 51.7f, 59.8f, 68.1f, 76.5f},
    {20.6f, 28.4f, 36.4f, 44.5f, 52.7f, 61.1f, 69.5f, 78.1f},
};

}  // namespace

float wilcoxon_wilcox_difference(WilcoxonWilcoxLevel level, int rows, int columns) {
  if (rows < 1 || rows > ww_max_rows || columns < ww_min_columns || columns > ww_max_columns)
    throw IndexError("no critical difference for r = " + std::to_string(rows) + ", c = " + std::to_string(columns));
  const auto& table = level == WilcoxonWilcoxLevel::five_percent ? table_05 : table_01;
  return table[rows - 1][columns - ww_min_columns];
}

}  // namespace veltrum

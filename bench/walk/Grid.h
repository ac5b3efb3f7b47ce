// The benchmarks' models: square grids of triangles, two to a cell, a few heights apart.
#ifndef VANTRELL_BENCH_WALK_GRID_H
#define VANTRELL_BENCH_WALK_GRID_H

#include <stdint.h>

// The cells along each side of a grid that holds `triangles` triangles.
inline uint32_t GridSide(uint32_t triangles) {
  uint32_t side = 1;
  while (2 * static_cast<uint64_t>(side) * side < triangles) ++side;
  return side;
}

// Point p of the grid, p = y * (side + 1) + x.
inline void GridPoint(uint32_t p, uint32_t side, double point[3]) {
  const uint32_t x = p % (side + 1), y = p / (side + 1);
  point[0] = x * 0.5;
  point[1] = y * 0.25;
  point[2] = (x ^ y) & 7;
}

// The points of triangle t of the grid.
inline void GridTriangle(uint32_t t, uint32_t side, uint32_t corners[3]) {
  const uint32_t cell = t / 2, x = cell % side, y = cell / side;
  const uint32_t p00 = y * (side + 1) + x, p10 = p00 + 1, p01 = p00 + side + 1, p11 = p01 + 1;
  corners[0] = p00;
  corners[1] = t % 2 ? p11 : p10;
  corners[2] = t % 2 ? p01 : p11;
}

#endif

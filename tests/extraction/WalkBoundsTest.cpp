#include <gtest/gtest.h>
#include <string.h>

#include "extraction/WalkBounds.h"

namespace {

const uint64_t kMiB = uint64_t(1) << 20;
const uint64_t kGiB = uint64_t(1) << 30;

struct MeshBoundCase {
  const char* name;
  uint64_t listModelBytes;
  bool figures;  // false: GlobalMemoryStatusEx failed
  uint64_t totalPhys;
  uint64_t totalVirtual;
  uint64_t bound;
};

void PrintTo(const MeshBoundCase& c, std::ostream* out) { *out << c.name; }

class MeshBound : public ::testing::TestWithParam<MeshBoundCase> {};

TEST_P(MeshBound, FollowsTheModelFilesWithinWhatTheProcessCanHold) {
  const MeshBoundCase& c = GetParam();
  MEMORYSTATUSEX memory;
  memset(&memory, 0, sizeof memory);
  memory.dwLength = sizeof memory;
  memory.ullTotalPhys = c.totalPhys;
  memory.ullAvailPhys = c.totalPhys / 2;
  memory.ullTotalVirtual = c.totalVirtual;
  memory.ullAvailVirtual = c.totalVirtual / 2;
  EXPECT_EQ(c.bound, MeshListByteBound(c.listModelBytes, c.figures ? &memory : nullptr));
}

const uint64_t k64BitSpace = uint64_t(128) << 40;

INSTANTIATE_TEST_SUITE_P(
    Figures, MeshBound,
    ::testing::Values(
        MeshBoundCase{"NoFilesGetTheFloor", 0, true, 16 * kGiB, k64BitSpace, 256 * kMiB},
        MeshBoundCase{"FileUnderOneMiBGetsTheFloor", kMiB - 1, true, 16 * kGiB, k64BitSpace, 256 * kMiB},
        MeshBoundCase{"TwoMiBOfFiles", 2 * kMiB, true, 16 * kGiB, k64BitSpace, 512 * kMiB},
        // 133 MB would allow 34 GB: half of the machine's 23 GiB.
        MeshBoundCase{"CappedByPhysicalMemory", 133000000, true, 23 * kGiB, k64BitSpace, 23 * kGiB / 2},
        // A 32-bit process of 2 GiB on a machine of 8 GiB.
        MeshBoundCase{"CappedByTheAddressSpace", 133000000, true, 8 * kGiB, 2 * kGiB, 512 * kMiB},
        MeshBoundCase{"FloorStaysOnASmallMachine", 10 * kMiB, true, 256 * kMiB, k64BitSpace, 256 * kMiB},
        MeshBoundCase{"WithoutFiguresAsIn2GiB", 10 * kMiB, false, 0, 0, 512 * kMiB},
        MeshBoundCase{"HugeFilesDoNotOverflow", uint64_t(1) << 60, true, 64 * kGiB, k64BitSpace, 32 * kGiB}),
    [](const ::testing::TestParamInfo<MeshBoundCase>& info) { return std::string(info.param.name); });

TEST(WalkBounds, VisitsFollowTheModelFileAboveTheirFloor) {
  EXPECT_EQ(uint64_t(1) << 21, WalkVisitBound(0));
  EXPECT_EQ(uint64_t(1) << 21, WalkVisitBound(4 * kMiB));
  EXPECT_EQ(uint64_t(32) << 20, WalkVisitBound(64 * kMiB));
}

// The memory this process really has: a file under 1 MiB never asks, a larger one gets what the
// figures allow.
TEST(WalkBounds, TheProcesssOwnMemoryCapsTheMeshes) {
  MEMORYSTATUSEX memory;
  memset(&memory, 0, sizeof memory);
  memory.dwLength = sizeof memory;
  ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
  EXPECT_GT(memory.ullTotalPhys, 0u);
  EXPECT_GT(memory.ullTotalVirtual, 0u);
  EXPECT_EQ(256 * kMiB, MeshListByteBound(kMiB));
  EXPECT_EQ(MeshListByteBound(uint64_t(1) << 40, &memory), MeshListByteBound(uint64_t(1) << 40));
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opennurbs/opennurbs.h"

namespace {

// An element that counts the objects alive, so that slots are seen to be constructed and
// destroyed as promised.
struct Tracked {
  static int alive;
  std::string value;
  Tracked() { ++alive; }
  explicit Tracked(std::string v) : value(std::move(v)) { ++alive; }
  Tracked(const Tracked& o) : value(o.value) { ++alive; }
  Tracked(Tracked&& o) noexcept : value(std::move(o.value)) { ++alive; }
  Tracked& operator=(const Tracked&) = default;
  ~Tracked() { --alive; }
};
int Tracked::alive = 0;

struct GrowthCase {
  int reserved;
  int appended;
  int capacity;
};

// Capacity 4 while full at a count of at most 2, otherwise twice the count.
const GrowthCase kGrowth[] = {
    {0, 0, 0}, {0, 1, 4}, {0, 4, 4},  {0, 5, 8},   {0, 9, 16},  {0, 17, 32},
    {1, 1, 1}, {1, 2, 4}, {2, 3, 4},  {3, 4, 6},   {3, 7, 12},  {5, 6, 10},
    {10, 0, 10},
};

template <class Array, class Make>
void CheckGrowth(Make make) {
  for (const GrowthCase& c : kGrowth) {
    Array a;
    a.Reserve(static_cast<size_t>(c.reserved));
    for (int i = 0; i < c.appended; ++i) a.Append(make(i));
    EXPECT_EQ(a.Count(), c.appended) << c.reserved << "+" << c.appended;
    EXPECT_EQ(a.Capacity(), c.capacity) << c.reserved << "+" << c.appended;
    for (int i = 0; i < c.appended; ++i) EXPECT_TRUE(a[i] == make(i));
  }
}

bool operator==(const Tracked& a, const Tracked& b) { return a.value == b.value; }

}  // namespace

TEST(Arrays, GrowthRule) {
  CheckGrowth<ON_SimpleArray<int>>([](int i) { return i * 7; });
  CheckGrowth<ON_ClassArray<Tracked>>([](int i) { return Tracked(std::to_string(i)); });
  EXPECT_EQ(Tracked::alive, 0);
}

TEST(Arrays, ReserveOnlyGrows) {
  ON_SimpleArray<int> a;
  a.Reserve(6);
  a.Reserve(3);
  EXPECT_EQ(a.Capacity(), 6);
  ON_ClassArray<Tracked> b;
  b.Reserve(6);
  b.Reserve(0);
  EXPECT_EQ(b.Capacity(), 6);
  EXPECT_EQ(Tracked::alive, 6);  // every slot up to the capacity holds an object
}

TEST(Arrays, SimpleArrayZeroesNewCapacity) {
  ON_SimpleArray<ON_3fPoint> a;
  a.Append(ON_3fPoint(1, 2, 3));
  a.Reserve(8);
  for (int i = 1; i < 8; ++i) EXPECT_EQ(a[i].x + a[i].y + a[i].z, 0.0f) << i;
  EXPECT_EQ(a[0].z, 3.0f);
}

TEST(Arrays, EmptyKeepsCapacityDestroyFreesIt) {
  ON_SimpleArray<int> s;
  for (int i = 0; i < 5; ++i) s.Append(i);
  s.Empty();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Capacity(), 8);
  s.Destroy();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Capacity(), 0);
  s.Append(9);  // usable again
  EXPECT_EQ(s[0], 9);

  ON_ClassArray<Tracked> c;
  for (int i = 0; i < 5; ++i) c.Append(Tracked("x" + std::to_string(i)));
  c.Empty();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.Capacity(), 8);
  EXPECT_EQ(Tracked::alive, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(c[i].value, "") << i;  // used slots default again
  c.Destroy();
  EXPECT_EQ(c.Capacity(), 0);
  EXPECT_EQ(Tracked::alive, 0);
}

// Appending an element of the array itself while the array must grow: the element's old block
// is released by the growth.
TEST(Arrays, AppendOwnElementWhileGrowing) {
  ON_SimpleArray<ON_3fPoint> s;
  for (int i = 0; i < 4; ++i) s.Append(ON_3fPoint(float(i), 0, 0));
  ASSERT_EQ(s.Count(), s.Capacity());
  s.Append(s[1]);
  EXPECT_EQ(s[4].x, 1.0f);

  ON_ClassArray<Tracked> c;
  for (int i = 0; i < 4; ++i) c.Append(Tracked(std::string(40, char('a' + i))));
  ASSERT_EQ(c.Count(), c.Capacity());
  c.Append(c[2]);
  EXPECT_EQ(c[4].value, std::string(40, 'c'));
  EXPECT_EQ(c[2].value, std::string(40, 'c'));

  ON_Mesh mesh;
  mesh.SetVertex(0, ON_3dPoint(1, 2, 3));
  ON_ClassArray<ON_Mesh> full;
  full.Reserve(1);
  full.Append(mesh);
  full.Append(full[0]);
  ASSERT_EQ(full.Count(), 2);
  EXPECT_EQ(full[1].m_V[0].z, 3.0f);
}

TEST(Arrays, CopiesAreIndependent) {
  ON_SimpleArray<int> s;
  for (int i = 0; i < 3; ++i) s.Append(i);
  ON_SimpleArray<int> s2(s);
  s2[0] = 42;
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s2.Count(), 3);
  ON_SimpleArray<int> s3;
  s3 = s2;
  s2.Destroy();
  EXPECT_EQ(s3[0], 42);
  EXPECT_EQ(s3.Count(), 3);

  {
    ON_ClassArray<Tracked> c;
    for (int i = 0; i < 5; ++i) c.Append(Tracked(std::to_string(i)));
    ON_ClassArray<Tracked> copy(c);
    copy[0].value = "changed";
    EXPECT_EQ(c[0].value, "0");
    EXPECT_EQ(copy.Count(), 5);

    // Assigning a shorter array to a longer one: the slots past the new count are default again.
    ON_ClassArray<Tracked> shorter;
    shorter.Append(Tracked("s"));
    copy = shorter;
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy[0].value, "s");
    EXPECT_EQ(copy[3].value, "");
    copy = c;
    EXPECT_EQ(copy[4].value, "4");
  }
  EXPECT_EQ(Tracked::alive, 0);
}

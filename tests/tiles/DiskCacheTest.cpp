// The disk tile cache: freshness rules, the file format's damage cases, the size cap, an
// unwritable folder, a folder of another layout and writers racing on one tile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "tiles/DiskCache.h"

namespace fs = std::filesystem;
using namespace tw;

namespace {

constexpr int64_t kNow = 1'700'000'000;
constexpr int64_t kDay = 86400;

class DiskCacheTest : public ::testing::Test {
 protected:
  fs::path root = fs::temp_directory_path() / ("tw_disk_cache_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::remove_all(root); }
  void TearDown() override { fs::remove_all(root); }
  static CacheEntry entry(std::string body) { return {200, kNow, kNow + kDay, "", "", std::move(body)}; }
  static CacheKey key(int y) { return {"gsi", "std", 16, 58000, y}; }
};

}  // namespace

TEST(DiskCacheRules, Freshness)
{
  const CacheKey gsi{"gsi", "pale", 15, 1, 2}, osm{"osm", "osm", 15, 1, 2}, dem{"gsi", "dem5a", 14, 1, 2};
  struct Row {
    CacheKey key;
    int status;
    HttpStamp stamp;
    int64_t until;
  } rows[] = {
      {gsi, 200, {}, kNow + 30 * kDay},
      {gsi, 200, {"public, max-age=3600", "", "", "", ""}, kNow + 3600},
      {gsi, 200, {"", "Wed, 15 Nov 2023 22:13:20 GMT", "Tue, 14 Nov 2023 22:13:20 GMT", "", ""}, kNow + kDay},
      {gsi, 200, {"no-cache", "", "", "", ""}, kNow},
      {gsi, 200, {"", "0", "", "", ""}, kNow},  // an invalid Expires is in the past
      {osm, 200, {}, kNow + 7 * kDay},
      {osm, 200, {"max-age=60", "", "", "", ""}, kNow + 7 * kDay},
      {osm, 200, {"max-age=2592000", "", "", "", ""}, kNow + 30 * kDay},
      {dem, 200, {"max-age=60", "", "", "", ""}, kKeptForever},
      {dem, 404, {}, kNow + kDay},
      {osm, 404, {"max-age=2592000", "", "", "", ""}, kNow + kDay},
  };
  for (const Row& r : rows) EXPECT_EQ(freshUntil(r.key, r.status, r.stamp, kNow), r.until) << r.key.kind << r.stamp.cacheControl;
  EXPECT_EQ(parseHttpDate("Tue, 14 Nov 2023 22:13:20 GMT"), kNow);
  for (const char* bad : {"", "Tue, 14 Nov 2023 22:13:20 CET", "Tue, 14 Foo 2023 22:13:20 GMT", "Tue, 32 Nov 2023 22:13:20 GMT"})
    EXPECT_FALSE(parseHttpDate(bad)) << bad;
}

TEST_F(DiskCacheTest, RoundTripAndDamagedFilesAreMisses)
{
  DiskCache cache(root, kCacheCapBytes);
  CacheEntry e{200, kNow, kNow + 5, "Tue, 14 Nov 2023 22:13:20 GMT", "\"abc\"", std::string("\x89PNG\n\0x", 7)};
  ASSERT_TRUE(cache.put(key(1), e));
  const auto back = cache.get(key(1));
  ASSERT_TRUE(back);
  EXPECT_EQ(std::tie(back->status, back->stored, back->freshUntil, back->lastModified, back->etag, back->body),
            std::tie(e.status, e.stored, e.freshUntil, e.lastModified, e.etag, e.body));
  EXPECT_TRUE(cache.put(key(2), {404, kNow, kNow + kDay, "", "", ""}));
  EXPECT_EQ(cache.get(key(2))->status, 404);

  const fs::path file = cache.folder() / "gsi/std/16/58000/1.tile";
  ASSERT_TRUE(fs::exists(file));
  const std::string whole = [&] { std::ifstream in(file, std::ios::binary); return std::string(std::istreambuf_iterator<char>(in), {}); }();
  for (const std::string& damaged : {whole.substr(0, whole.size() - 1), std::string(), std::string("garbage\n"),
                                     whole.substr(0, whole.find('\n') + 1)}) {
    std::ofstream(file, std::ios::binary) << damaged;
    EXPECT_FALSE(cache.get(key(1))) << damaged.size();
    EXPECT_FALSE(fs::exists(file));
  }
}

TEST_F(DiskCacheTest, EvictsLeastRecentlyUsedUnderTheCap)
{
  const std::string body(1000, 'x');
  DiskCache probe(root / "probe", kCacheCapBytes);
  probe.put(key(0), entry(body));
  const uint64_t one = probe.size();
  DiskCache cache(root, 3 * one);
  for (int y = 0; y < 3; ++y) ASSERT_TRUE(cache.put(key(y), entry(body)));
  ASSERT_TRUE(cache.get(key(0)));  // now the most recent
  for (int y = 3; y < 5; ++y) {
    ASSERT_TRUE(cache.put(key(y), entry(body)));
    EXPECT_LE(cache.size(), 3 * one);
  }
  EXPECT_TRUE(cache.get(key(0)));
  EXPECT_FALSE(cache.get(key(1)));
  EXPECT_FALSE(cache.get(key(2)));
  EXPECT_TRUE(cache.get(key(4)));
  // Another run finds the same total on disk.
  EXPECT_EQ(DiskCache(root, 3 * one).size(), 3 * one);
}

TEST_F(DiskCacheTest, UnwritableFolderTurnsWritingOffOnce)
{
  fs::create_directories(root);
  std::ofstream(root / "file") << "not a folder";
  DiskCache cache(root / "file" / "cache", kCacheCapBytes);
  int told = 0;
  cache.onWriteFailure = [&] { ++told; };
  EXPECT_FALSE(cache.put(key(1), entry("a")));
  EXPECT_FALSE(cache.put(key(2), entry("b")));
  EXPECT_FALSE(cache.writable());
  EXPECT_FALSE(cache.get(key(1)));
  EXPECT_EQ(told, 1);
}

TEST_F(DiskCacheTest, FolderOfAnotherLayoutIsLeftAlone)
{
  fs::create_directories(root / "tiles-1");
  std::ofstream(root / "tiles-1" / "LAYOUT") << "something else\n";
  DiskCache cache(root, kCacheCapBytes);
  ASSERT_TRUE(cache.put(key(1), entry("a")));
  EXPECT_EQ(cache.folder(), root / "tiles-1.1");
  EXPECT_FALSE(fs::exists(root / "tiles-1" / "gsi"));
  EXPECT_EQ(DiskCache(root, kCacheCapBytes).get(key(1))->body, "a");  // the next run finds it
}

TEST_F(DiskCacheTest, RacingWritersNeverLeaveABrokenFile)
{
  DiskCache cache(root, kCacheCapBytes);
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([&, t] {
      DiskCache own(root, kCacheCapBytes);  // another process, as far as the files go
      for (int i = 0; i < 200; ++i) (t % 2 ? own : cache).put(key(1), entry(std::string(100 + 37 * i, char('a' + t))));
    });
  for (int i = 0; i < 400; ++i)
    if (const auto e = cache.get(key(1))) {
      EXPECT_EQ(e->body, std::string(e->body.size(), e->body[0]));
      EXPECT_EQ((e->body.size() - 100) % 37, 0u);
    }
  for (auto& w : writers) w.join();
  EXPECT_TRUE(cache.get(key(1)));
  for (const auto& f : fs::recursive_directory_iterator(root)) EXPECT_NE(f.path().extension(), ".tmp");
}

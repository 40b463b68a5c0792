#include "core/formats/metafile_canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/formats/metafile_export.h"
#include "tests/core/formats/reader_tools.h"

using namespace kolma;
using namespace kolma::test;
namespace fs = std::filesystem;

namespace {

// What libwmf drew, and what the record walk found, per wmf_listing.py.
struct TListing {
  std::vector<std::vector<std::string>> items;  // fields of each line
  std::string text;

  std::vector<std::vector<std::string>> Of(const std::string& kind) const {
    std::vector<std::vector<std::string>> result;
    for (const auto& item : items)
      if (item[0] == kind) result.push_back(item);
    return result;
  }
};

::testing::AssertionResult List(const fs::path& file, TListing& listing) {
  const std::string& python = PythonWithXlrd().empty() ? std::string("python3") : PythonWithXlrd();
  if (!HaveWmf2Svg()) return ::testing::AssertionFailure() << kInstallHint;
  const TCommandOutput run =
      RunCommand(python + " " + ShellQuote(ScriptPath("wmf_listing.py").string()) + " " + ShellQuote(file.string()));
  if (run.status != 0) return ::testing::AssertionFailure() << "reader status " << run.status << ":\n" << run.output;
  listing.text = run.output;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
    if (!fields.empty()) listing.items.push_back(fields);
  }
  if (!listing.Of("problem").empty()) return ::testing::AssertionFailure() << run.output;
  return ::testing::AssertionSuccess();
}

std::vector<TPoint> Points(const std::string& text) {
  std::vector<TPoint> result;
  std::istringstream in(text);
  for (std::string pair; in >> pair;) {
    const auto comma = pair.find(',');
    result.push_back({std::atoi(pair.substr(0, comma).c_str()), std::atoi(pair.substr(comma + 1).c_str())});
  }
  return result;
}

// libwmf maps pixel edges to pixel centres, so a point may move by up to one pixel.
bool Near(const std::vector<TPoint>& got, const std::vector<TPoint>& wanted) {
  if (got.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < got.size(); ++i)
    if (std::abs(got[i].x - wanted[i].x) > 1 || std::abs(got[i].y - wanted[i].y) > 1) return false;
  return true;
}

void Save(const TMetafileCanvas& canvas, const fs::path& path) {
  const std::vector<std::uint8_t> bytes = canvas.PlaceableBytes();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(MetafileCanvas, ShapesAndTextsDrawnByAnIndependentPlayer) {
  TMetafileCanvas canvas(400, 300);
  canvas.SetPen({{0, 0, 0}, 1, TPenStyle::None});
  canvas.SetBrush({{255, 255, 255}});
  canvas.Rectangle(0, 0, 400, 300);
  canvas.SetPen({{255, 0, 0}, 2});
  canvas.SetBrush({{0, 0, 255}});
  const std::vector<TPoint> triangle = {{10, 10}, {100, 20}, {50, 90}};
  canvas.Polygon(triangle);
  canvas.SetBrush({{0, 0, 0}, TBrushStyle::None});
  const std::vector<TPoint> square = {{150, 10}, {190, 10}, {190, 50}, {150, 50}};
  canvas.Polygon(square);
  canvas.SetPen({{0, 255, 0}, 1, TPenStyle::Dash});
  const std::vector<TPoint> line = {{200, 200}, {250, 210}, {300, 250}, {350, 220}};
  canvas.Polyline(line);
  canvas.SetPen({{0, 0, 0}, 1});
  canvas.MoveTo({5, 280});
  canvas.LineTo({395, 280});
  canvas.LineTo({395, 5});
  canvas.SetFont({"Arial", 14, true, {255, 0, 0}});
  canvas.Text({100, 150}, "T (\xC2\xB0" "C) Temp\xC3\xA9rature \xE6\xB8\xA9 \xE2\x82\xAC");
  canvas.SetFont({"Arial", 20, false, {0, 0, 255}});
  canvas.Text({200, 100}, "a<b & c", {THorizontalAlign::Center, TVerticalAlign::Baseline});

  const fs::path folder = FreshFolder("wmf_shapes");
  Save(canvas, folder / "shapes.wmf");
  TListing listing;
  ASSERT_TRUE(List(folder / "shapes.wmf", listing));

  const auto header = listing.Of("header");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][1], "400");
  EXPECT_EQ(header[0][2], "300");
  EXPECT_EQ(header[0][3], "96");

  const auto polygons = listing.Of("polygon");
  ASSERT_EQ(polygons.size(), 3u) << listing.text;
  EXPECT_EQ(polygons[0][1], "white");
  EXPECT_EQ(polygons[0][2], "none");
  EXPECT_TRUE(Near(Points(polygons[0][3]), {{0, 0}, {400, 0}, {400, 300}, {0, 300}})) << polygons[0][3];
  EXPECT_EQ(polygons[1][1], "blue");
  EXPECT_EQ(polygons[1][2], "red");
  EXPECT_TRUE(Near(Points(polygons[1][3]), triangle)) << polygons[1][3];
  EXPECT_EQ(polygons[2][1], "none");
  EXPECT_TRUE(Near(Points(polygons[2][3]), square)) << polygons[2][3];

  const auto polylines = listing.Of("polyline");
  ASSERT_EQ(polylines.size(), 1u) << listing.text;
  EXPECT_EQ(polylines[0][1], "lime");
  EXPECT_EQ(polylines[0][2], "1") << "dashed";
  EXPECT_TRUE(Near(Points(polylines[0][3]), line));

  const auto lines = listing.Of("line");
  ASSERT_EQ(lines.size(), 2u) << listing.text;
  EXPECT_EQ(lines[0][2], "0") << "solid";
  EXPECT_TRUE(Near(Points(lines[0][3]), {{5, 280}, {395, 280}}));
  EXPECT_TRUE(Near(Points(lines[1][3]), {{395, 280}, {395, 5}}));

  const auto texts = listing.Of("text");
  ASSERT_EQ(texts.size(), 2u) << listing.text;
  EXPECT_EQ(texts[0][5], "T (\xC2\xB0" "C) Temp\xC3\xA9rature ? \xE2\x82\xAC");  // CJK has no Windows-1252 code
  EXPECT_EQ(texts[0][1], "red");
  EXPECT_EQ(texts[0][2], "bold");
  EXPECT_EQ(texts[0][3], "14");
  const TPoint topLeft = Points(texts[0][4]).at(0);
  EXPECT_NEAR(topLeft.x, 100, 1);
  EXPECT_GT(topLeft.y, 150) << "the player draws from the baseline, below the top given";
  EXPECT_EQ(texts[1][5], "a<b & c");
  EXPECT_EQ(texts[1][1], "blue");
  EXPECT_EQ(texts[1][2], "normal");
  const TPoint centred = Points(texts[1][4]).at(0);
  EXPECT_LT(centred.x, 200) << "centred text starts left of its point";
  EXPECT_NEAR(centred.y, 100, 1) << "baseline alignment";
}

// A plot changes colour for nearly every polygon; each change replaces the pen or
// brush, deleting the old one, so the object table never grows past a few slots.
TEST(MetafileCanvas, ObjectTableStaysSmallAndHeaderMatchesRecords) {
  TMetafileCanvas canvas(640, 480, 72);
  for (int i = 0; i < 500; ++i) {
    const auto shade = static_cast<std::uint8_t>(i % 256);
    canvas.SetBrush({{shade, static_cast<std::uint8_t>(255 - shade), 0}});
    if (i % 3 == 0) canvas.SetPen({{0, 0, shade}, 1 + i % 2});
    if (i % 50 == 0) canvas.SetFont({i % 100 == 0 ? "Arial" : "Times New Roman", 10 + i % 7, i % 2 == 0, {}});
    const TPoint quad[4] = {{i, i % 480}, {i + 10, i % 480}, {i + 10, i % 480 + 10}, {i, i % 480 + 10}};
    canvas.Polygon(quad);
    if (i % 50 == 0) canvas.Text({i, 20}, std::to_string(i));
    canvas.SetBrush({{shade, static_cast<std::uint8_t>(255 - shade), 0}});  // unchanged: no new object
  }
  const fs::path folder = FreshFolder("wmf_objects");
  Save(canvas, folder / "objects.wmf");
  TListing listing;
  ASSERT_TRUE(List(folder / "objects.wmf", listing));
  const auto header = listing.Of("header");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][3], "72");
  EXPECT_LE(std::stoi(header[0][4]), 4) << "objects alive at once";
  EXPECT_EQ(listing.Of("polygon").size(), 500u);
  EXPECT_EQ(listing.Of("text").size(), 10u);

  // The clipboard form is the same metafile without the placement header.
  const std::vector<std::uint8_t> placeable = canvas.PlaceableBytes();
  const std::vector<std::uint8_t> bare = canvas.MetafileBytes();
  ASSERT_EQ(placeable.size(), bare.size() + 22);
  EXPECT_TRUE(std::equal(bare.begin(), bare.end(), placeable.begin() + 22));
}

TEST(MetafileCanvas, VeryLongLinesAndOutOfRangeCoordinates) {
  TMetafileCanvas canvas(100, 100);
  std::vector<TPoint> zigzag;
  for (int i = 0; i < 40000; ++i) zigzag.push_back({i % 100, (i / 100) % 2 == 0 ? i % 100 : 99 - i % 100});
  canvas.Polyline(zigzag);
  const TPoint far[3] = {{-100000, 0}, {100000, 50}, {50, 70000}};
  canvas.Polygon(far);
  canvas.Polyline(std::span<const TPoint>(zigzag.data(), 1));  // nothing to draw
  canvas.Text({0, 0}, "");
  const fs::path folder = FreshFolder("wmf_long");
  Save(canvas, folder / "long.wmf");
  TListing listing;
  ASSERT_TRUE(List(folder / "long.wmf", listing));
  const auto polylines = listing.Of("polyline");
  ASSERT_EQ(polylines.size(), 2u);
  const std::vector<TPoint> first = Points(polylines[0][3]), second = Points(polylines[1][3]);
  EXPECT_EQ(first.size() + second.size(), zigzag.size() + 1) << "the pieces share a point";
  const auto polygons = listing.Of("polygon");
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(Points(polygons[0][3]).size(), 3u);
}

TEST(MetafileExport, FileNameTakesWmfFromTheFirstPointOfTheFileName) {
  EXPECT_EQ(MetafileFileName("plot.v2.emf"), fs::path("plot.wmf"));
  EXPECT_EQ(MetafileFileName("plot"), fs::path("plot.wmf"));
  EXPECT_EQ(MetafileFileName("plot.wmf"), fs::path("plot.wmf"));
  EXPECT_EQ(MetafileFileName("a.b/plot"), fs::path("a.b/plot.wmf"));
  EXPECT_EQ(MetafileFileName("a.b/c.d/plot.x.y"), fs::path("a.b/c.d/plot.wmf"));
  EXPECT_EQ(MetafileFileName("/tmp/plot."), fs::path("/tmp/plot.wmf"));
  EXPECT_EQ(MetafileFileName(".plot.emf"), fs::path(".plot.wmf"));
  EXPECT_EQ(MetafileFileName("Temp\xC3\xA9rature.emf"), fs::path("Temp\xC3\xA9rature.wmf"));
  EXPECT_EQ(MetafileFileName("folder/"), fs::path());
  EXPECT_EQ(MetafileFileName("folder/.."), fs::path());
}

TEST(MetafileExport, WritesThePictureUnderTheWmfName) {
  TMetafileCanvas canvas(50, 40);
  canvas.Rectangle(5, 5, 45, 35);
  const fs::path folder = FreshFolder("wmf_export");
  fs::create_directories(folder / "run.1");
  const TMetafileExport written = ExportMetafile(folder / "run.1" / "plot.v2.emf", canvas);
  ASSERT_TRUE(written.ok) << written.reason;
  EXPECT_EQ(written.path, folder / "run.1" / "plot.wmf");
  EXPECT_TRUE(ReadBytes(written.path) == canvas.PlaceableBytes());
  EXPECT_FALSE(fs::exists(folder / "run.1" / "plot.v2.emf"));

  const TMetafileExport noFolder = ExportMetafile(folder / "missing" / "plot.emf", canvas);
  EXPECT_FALSE(noFolder.ok);
  EXPECT_FALSE(noFolder.reason.empty());
  EXPECT_FALSE(ExportMetafile(folder / "", canvas).ok);
}

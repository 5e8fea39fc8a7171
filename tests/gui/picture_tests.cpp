// Pictures and drawing through real windows on the offscreen platform: bitmap files of every
// depth and compression written byte by byte here, loaded, measured and drawn, and the drawn
// pixels read back from the window's surface.
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <limits>

#include "internal/paint_surface.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/run.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::find_record;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Grid = std::vector<std::vector<std::uint32_t>>;  // rows top first, colours 0xRRGGBB

void put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

struct BmpSpec {
  int width = 0, height = 0;  // a negative height stores the rows top first
  int bits = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;  // 0xRRGGBB
  std::vector<std::uint32_t> masks;    // after a 40-byte header, or inside a longer one
  std::uint32_t header_size = 40;
  Bytes pixels;
};

// A bitmap file: file header, information header, masks, colour table, pixel data.
Bytes bmp_file(const BmpSpec& s) {
  Bytes info;
  put32(info, s.header_size);
  put32(info, static_cast<std::uint32_t>(s.width));
  put32(info, static_cast<std::uint32_t>(s.height));
  put16(info, 1);
  put16(info, static_cast<std::uint32_t>(s.bits));
  put32(info, s.compression);
  put32(info, static_cast<std::uint32_t>(s.pixels.size()));
  put32(info, 2835);
  put32(info, 2835);
  put32(info, static_cast<std::uint32_t>(s.palette.size()));
  put32(info, 0);
  if (s.header_size == 40) {
    for (std::uint32_t m : s.masks) put32(info, m);
  } else {
    for (std::uint32_t m : s.masks) put32(info, m);
    info.resize(s.header_size, 0);
  }
  for (std::uint32_t c : s.palette) put32(info, c & 0xFFFFFF);
  Bytes file = {'B', 'M'};
  put32(file, static_cast<std::uint32_t>(14 + info.size() + s.pixels.size()));
  put32(file, 0);
  put32(file, static_cast<std::uint32_t>(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  return file;
}

// Pixel rows in storage order (bottom row first unless top_down), each padded to 4 bytes, from
// a function that writes one pixel's bits.
template <class PutPixel>
Bytes rows(int w, int h, int bits, bool top_down, PutPixel put) {
  const int stride = (w * bits + 31) / 32 * 4;
  Bytes out(static_cast<std::size_t>(stride * h), 0);
  for (int r = 0; r < h; ++r) {
    const int y = top_down ? r : h - 1 - r;
    std::uint8_t* row = out.data() + r * stride;
    for (int x = 0; x < w; ++x) put(row, x, y);
  }
  return out;
}

Bytes rows24(const Grid& g, bool top_down = false) {
  const int w = static_cast<int>(g[0].size()), h = static_cast<int>(g.size());
  return rows(w, h, 24, top_down, [&](std::uint8_t* row, int x, int y) {
    row[3 * x] = g[y][x] & 0xFF;
    row[3 * x + 1] = (g[y][x] >> 8) & 0xFF;
    row[3 * x + 2] = (g[y][x] >> 16) & 0xFF;
  });
}

// Indices (rows top first) packed at 1, 4 or 8 bits.
Bytes rows_indexed(const std::vector<std::vector<int>>& idx, int bits) {
  const int w = static_cast<int>(idx[0].size()), h = static_cast<int>(idx.size());
  return rows(w, h, bits, false, [&](std::uint8_t* row, int x, int y) {
    const int per_byte = 8 / bits;
    const int shift = 8 - bits * (x % per_byte + 1);
    row[x / per_byte] |= static_cast<std::uint8_t>(idx[y][x] << shift);
  });
}

// A picture of distinct colours.
Grid sample_grid(int w, int h) {
  Grid g(h, std::vector<std::uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) g[y][x] = static_cast<std::uint32_t>(0x102030 + 0x251307 * (y * w + x)) & 0xFFFFFF;
  return g;
}

std::uint32_t rgb_at(Window w, int x, int y) { return find_record(w)->surface->image().pixel(x, y) & 0xFFFFFF; }

// The colours of the window's surface over (x0, y0, w, h).
Grid surface_part(Window win, int x0, int y0, int w, int h) {
  Grid g(h, std::vector<std::uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) g[y][x] = rgb_at(win, x0 + x, y0 + y);
  return g;
}

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

class Files {
 public:
  std::string write(const std::string& name, const Bytes& bytes) {
    const QString path = dir_.filePath(QString::fromStdString(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path.toStdString();
  }

 private:
  QTemporaryDir dir_;
};

Window make_canvas(Window task) {
  return win_Create(wk_Child, {0, 0, 120, 80}, "", res_menu{0}, task, {wsf_ClipSiblings}, recording_handler, 0);
}

// Fills the window with one colour (0xRRGGBB) through the drawing operations.
void fill(Window w, std::uint32_t rgb) {
  const Color c = uix_ComposeRGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  win_SetPen(w, Pen{1, ps_Hollow, c});
  win_SetBrush(w, Brush{pat_Solid, c});
  draw_Rect(w, {0, 0, 121, 81});
}

Picture load(Files& files, const std::string& name, const Bytes& bytes) { return pict_Load(files.write(name, bytes)); }

}  // namespace

class PictureTests : public QtSuite {
  Q_OBJECT

 public:
  PictureTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  // A picture drawn in e_update with equal rectangles and code 12 is shown pixel for pixel;
  // the upper half through the source rectangle; a doubled width doubles every column.
  void drawnInUpdateCopiesHalvesAndStretches() {
    Files files;
    const Grid g = sample_grid(5, 4);
    const Picture pict = load(files, "a.bmp", bmp_file({5, 4, 24, 0, {}, {}, 40, rows24(g)}));
    run_in_task([&](Window task) {
      const Window w = make_canvas(task);
      static Picture p;
      p = pict;
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (win != w || !std::holds_alternative<e_update>(ev)) return std::nullopt;
        pict_Draw(w, p, Rect{0, 0, 5, 4}, Rect{0, 0, 5, 4}, rop_SrcCopy);
        pict_Draw(w, p, Rect{10, 0, 15, 2}, Rect{0, 0, 5, 2}, rop_SrcCopy);
        pict_Draw(w, p, Rect{20, 0, 30, 4}, Rect{0, 0, 5, 4}, rop_SrcCopy);
        pict_Draw(w, p, Point{40, 10}, rop_SrcCopy);
        return 0;
      };
      win_Update(w);
      QCOMPARE(surface_part(w, 0, 0, 5, 4), g);
      QCOMPARE(surface_part(w, 10, 0, 5, 2), Grid(g.begin(), g.begin() + 2));
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) QCOMPARE(rgb_at(w, 20 + x, y), g[y][x / 2]);
      QCOMPARE(surface_part(w, 40, 10, 5, 4), g);
      // The painted surface is what the window shows.
      const QImage shown = find_record(w)->client->grab().toImage();
      QCOMPARE(shown.pixel(2, 3) & 0xFFFFFF, g[3][2]);
    });
    pict_Destroy(pict);
  }

  void sizeLoadErrorsAndLifetime() {
    Files files;
    const Bytes file = bmp_file({3, 2, 24, 0, {}, {}, 40, rows24(sample_grid(3, 2))});
    const Picture p = load(files, "small.bmp", file);
    int w = 0, h = 0, size = 0;
    pict_GetSize(p, w, h, size);
    QCOMPARE(w, 3);
    QCOMPARE(h, 2);
    QCOMPARE(size, int(file.size()) - 14);  // the block: all after the file header
    pict_Destroy(p);
    QCOMPARE(caught_code([&] { pict_GetSize(p, w, h, size); }), errcode::kLayerMemory);
    pict_Destroy(p);  // a second free leaves everything alone

    const char text[] = "This is only text, not a picture.\r\n";
    QCOMPARE(caught_code([&] { load(files, "text.bmp", Bytes(text, text + sizeof text - 1)); }), errcode::kNotPicture);
    QCOMPARE(caught_code([&] { load(files, "empty.bmp", {}); }), errcode::kNotPicture);
    QCOMPARE(caught_code([&] { pict_Load(files.write("x", {}) + "-missing.bmp"); }), errcode::kCannotOpenFile);
    QCOMPARE(caught_code([] { pict_Load(""); }), errcode::kCannotOpenFile);
    QCOMPARE(caught_code([] { pict_Load("/"); }), errcode::kCannotOpenFile);
    QCOMPARE(caught_code([] { pict_GetFromRes(4242); }), errcode::kNoBitmapResource);
    const Picture res = pict_GetFromRes(fixture::bitmap_face);
    pict_GetSize(res, w, h, size);
    QCOMPARE(w, 24);
    QCOMPARE(h, 24);
    pict_Destroy(res);
  }

  // The layer's reset leaves it as a new process finds it: a window made without a run, a picture,
  // a custom-control class and the attributes set are gone; handles are not given out again.
  void theResetLeavesNothingOfTheLayerBehind() {
    Files files;
    const Picture p = load(files, "small.bmp", bmp_file({3, 2, 24, 0, {}, {}, 40, rows24(sample_grid(3, 2))}));
    const Window pop = win_Create(wk_TopLevel, {0, 0, 50, 50}, "", no_menu{}, uix_GetAttrVal(attr_ScreenWindow), {wsf_Invisible},
                                  recording_handler, 0);
    class_Create("Meter", recording_handler);
    uix_SetAttrVal(xQbx_tBarheight, 7);
    RUN_ResetParts();
    int w = 0, h = 0, size = 0;
    QCOMPARE(caught_code([&] { pict_GetSize(p, w, h, size); }), errcode::kLayerMemory);
    QCOMPARE(win_GetType(pop), int(wk_NotAWindow));
    class_Create("Meter", recording_handler);  // not 6220: the class is forgotten
    QCOMPARE(uix_GetAttrVal(xQbx_tBarheight), 0);
    QCOMPARE(uix_GetAttrVal(xQbx_bMDI), 0);
    const Picture again = load(files, "again.bmp", bmp_file({1, 1, 24, 0, {}, {}, 40, rows24(sample_grid(1, 1))}));
    QVERIFY(again > p);
    pict_Destroy(again);
    const Window next = win_Create(wk_TopLevel, {0, 0, 50, 50}, "", no_menu{}, uix_GetAttrVal(attr_ScreenWindow), {wsf_Invisible},
                                   recording_handler, 0);
    QVERIFY(next > pop);
    win_Destroy(next);
  }

  // Every bit depth and header kind decodes to the same colours.
  void everyDepthDecodes() {
    Files files;
    const std::vector<std::uint32_t> pal16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const std::vector<std::vector<int>> idx = {{0, 1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 0, 1}, {15, 14, 13, 12, 11, 10, 9, 8, 7}};
    Grid from_pal(3, std::vector<std::uint32_t>(9));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) from_pal[y][x] = pal16[idx[y][x]];
    std::vector<std::vector<int>> bits1(3, std::vector<int>(9));
    Grid mono(3, std::vector<std::uint32_t>(9));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) {
        bits1[y][x] = (x + y) % 3 == 0;
        mono[y][x] = bits1[y][x] ? 0x3366CC : 0xF0E0D0;
      }
    // Colours exact in 5 bits per channel (0 or 31 -> 0 or 255) for the 16-bit forms.
    Grid primaries(3, std::vector<std::uint32_t>(9));
    const std::uint32_t prim[] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) primaries[y][x] = prim[(x + 2 * y) % 8];
    auto r16 = [&](bool rgb565) {
      return rows(9, 3, 16, false, [&](std::uint8_t* row, int x, int y) {
        const std::uint32_t c = primaries[y][x];
        const std::uint32_t r = (c >> 16) ? 31 : 0, g = ((c >> 8) & 0xFF) ? (rgb565 ? 63 : 31) : 0, b = (c & 0xFF) ? 31 : 0;
        const std::uint32_t v = rgb565 ? (r << 11 | g << 5 | b) : (r << 10 | g << 5 | b);
        row[2 * x] = v & 0xFF;
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
      });
    };
    const Grid g = sample_grid(9, 3);
    auto r32 = [&](int shift_r, int shift_g, int shift_b) {
      return rows(9, 3, 32, false, [&](std::uint8_t* row, int x, int y) {
        const std::uint32_t c = g[y][x];
        const std::uint32_t v = ((c >> 16) & 0xFF) << shift_r | ((c >> 8) & 0xFF) << shift_g | (c & 0xFF) << shift_b | 0x00;
        std::memcpy(row + 4 * x, &v, 4);
      });
    };
    std::vector<std::uint32_t> pal256(256);
    std::vector<std::vector<int>> idx8(3, std::vector<int>(9));
    Grid from_pal8(3, std::vector<std::uint32_t>(9));
    for (int i = 0; i < 256; ++i) pal256[i] = static_cast<std::uint32_t>(i * 0x010203 + 0x0A0000) & 0xFFFFFF;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) {
        idx8[y][x] = (y * 9 + x) * 7 % 256;
        from_pal8[y][x] = pal256[idx8[y][x]];
      }
    // The old 12-byte header: 16-bit sizes, 3-byte colour entries.
    Bytes core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put32(core, 12);
    put16(core, 9);
    put16(core, 3);
    put16(core, 1);
    put16(core, 4);
    for (std::uint32_t c : pal16) core.insert(core.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
    const Bytes core_rows = rows_indexed(idx, 4);
    core.insert(core.end(), core_rows.begin(), core_rows.end());

    struct Case {
      const char* name;
      Bytes file;
      Grid expect;
    };
    const std::vector<Case> cases = {
        {"1 bit", bmp_file({9, 3, 1, 0, {0xF0E0D0, 0x3366CC}, {}, 40, rows_indexed(bits1, 1)}), mono},
        {"4 bits", bmp_file({9, 3, 4, 0, pal16, {}, 40, rows_indexed(idx, 4)}), from_pal},
        {"8 bits", bmp_file({9, 3, 8, 0, pal256, {}, 40, rows_indexed(idx8, 8)}), from_pal8},
        {"16 bits 5-5-5", bmp_file({9, 3, 16, 0, {}, {}, 40, r16(false)}), primaries},
        {"16 bits 5-6-5 masks", bmp_file({9, 3, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, 40, r16(true)}), primaries},
        {"24 bits", bmp_file({9, 3, 24, 0, {}, {}, 40, rows24(g)}), g},
        {"24 bits top-down", bmp_file({9, -3, 24, 0, {}, {}, 40, rows24(g, true)}), g},
        {"32 bits", bmp_file({9, 3, 32, 0, {}, {}, 40, r32(16, 8, 0)}), g},
        {"32 bits masks in a long header", bmp_file({9, 3, 32, 3, {}, {0xFF, 0xFF00, 0xFF0000}, 124, r32(0, 8, 16)}), g},
        {"12-byte header", core, from_pal},
    };
    run_in_task([&](Window task) {
      const Window w = make_canvas(task);
      for (const Case& c : cases) {
        const Picture p = load(files, "depth.bmp", c.file);
        fill(w, 0x777777);
        pict_Draw(w, p, Point{1, 1}, rop_SrcCopy);
        if (surface_part(w, 1, 1, 9, 3) != c.expect) QFAIL(c.name);
        pict_Destroy(p);
      }
    });
  }

  // Run-length streams: runs, literal runs (with padding), moves, line and picture ends; the
  // pixels that the stream skips leave the window as it was.
  void runLengthDecodes() {
    Files files;
    const std::vector<std::uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const std::uint32_t bg = 0x777777;
    // 6 x 3, bottom row first.
    const Bytes rle8 = {3, 1, 0, 3, 2, 3, 4, 0,  // bottom: R R R G B W, literal run of 3 padded
                        0, 0,                    // end of line
                        0, 2, 2, 0,              // move 2 right
                        2, 4, 0, 0,              // W W, end of line
                        1, 3, 0, 1};             // top: B, end of picture
    const Grid expect8 = {{0x0000FF, bg, bg, bg, bg, bg},
                          {bg, bg, 0xFFFFFF, 0xFFFFFF, bg, bg},
                          {0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}};
    const Bytes rle4 = {5, 0x12, 0, 1};  // bottom: R G R G R, end of picture
    const Grid expect4 = {{bg, bg, bg, bg, bg, bg}, {bg, bg, bg, bg, bg, bg},
                          {0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0xFF0000, bg}};
    const Bytes rle4_literal = {0, 5, 0x12, 0x34, 0x10, 0, 0, 0, 0, 1};  // literal R G B W R, padded
    const Grid expect4_literal = {{bg, bg, bg, bg, bg, bg}, {bg, bg, bg, bg, bg, bg},
                                  {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFF0000, bg}};
    run_in_task([&](Window task) {
      const Window w = make_canvas(task);
      const struct {
        const char* name;
        Bytes file;
        Grid expect;
      } cases[] = {
          {"rle8", bmp_file({6, 3, 8, 1, pal, {}, 40, rle8}), expect8},
          {"rle4", bmp_file({6, 3, 4, 2, pal, {}, 40, rle4}), expect4},
          {"rle4 literal", bmp_file({6, 3, 4, 2, pal, {}, 40, rle4_literal}), expect4_literal},
      };
      for (const auto& c : cases) {
        const Picture p = load(files, "rle.bmp", c.file);
        fill(w, bg);
        pict_Draw(w, p, Point{0, 0}, rop_SrcCopy);
        if (surface_part(w, 0, 0, 6, 3) != c.expect) QFAIL(c.name);
        pict_Destroy(p);
      }
    });
    // Broken off inside a move or a literal run: not a picture.
    QCOMPARE(caught_code([&] { load(files, "cut.bmp", bmp_file({6, 3, 8, 1, pal, {}, 40, {0, 2, 1}})); }), errcode::kNotPicture);
    QCOMPARE(caught_code([&] { load(files, "cut.bmp", bmp_file({6, 3, 8, 1, pal, {}, 40, {0, 5, 1, 2}})); }), errcode::kNotPicture);
    // Run-length pictures are stored bottom-up only.
    QCOMPARE(caught_code([&] { load(files, "neg.bmp", bmp_file({6, -3, 8, 1, pal, {}, 40, rle8})); }), errcode::kNotPicture);
  }

  // A file cut anywhere in its header, masks, colour table or rows, or whose header lies about
  // the data, is no picture; nothing is read outside the file.
  void truncatedAndInconsistentFilesAreRefused() {
    Files files;
    const std::vector<Bytes> whole = {
        bmp_file({5, 4, 24, 0, {}, {}, 40, rows24(sample_grid(5, 4))}),
        bmp_file({9, 3, 4, 0, std::vector<std::uint32_t>(16, 0x123456), {}, 40, rows_indexed({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1, 1, 1}}, 4)}),
        bmp_file({2, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, 40, Bytes(8, 0xAB)}),
    };
    for (const Bytes& file : whole) {
      for (std::size_t len = 0; len < file.size(); ++len) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(len));
        if (caught_code([&] { pict_Destroy(load(files, "cut.bmp", cut)); }) != errcode::kNotPicture)
          QFAIL(qPrintable(QStringLiteral("a file cut at %1 of %2 bytes was taken").arg(len).arg(file.size())));
      }
    }
    Bytes huge_palette = whole[1];
    huge_palette[14 + 32] = 0xFF;  // colours used: far more than the file holds
    huge_palette[14 + 33] = 0xFF;
    QCOMPARE(caught_code([&] { load(files, "pal.bmp", huge_palette); }), errcode::kNotPicture);
    Bytes huge_width = whole[0];
    huge_width[14 + 4 + 3] = 0x7F;  // width 0x7F000005: rows far beyond the file
    QCOMPARE(caught_code([&] { load(files, "wide.bmp", huge_width); }), errcode::kNotPicture);
    Bytes bad_depth = whole[0];
    bad_depth[14 + 14] = 7;
    QCOMPARE(caught_code([&] { load(files, "depth.bmp", bad_depth); }), errcode::kNotPicture);
  }

  // An icon file: the colour image of its first icon, measured by the icon's own height.
  void iconFilesLoadTheirColourImage() {
    Files files;
    const Grid g = sample_grid(4, 4);
    Bytes dib;
    put32(dib, 40);
    put32(dib, 4);
    put32(dib, 8);  // colour rows and mask rows
    put16(dib, 1);
    put16(dib, 24);
    for (int i = 0; i < 6; ++i) put32(dib, 0);
    const Bytes colour = rows24(g);
    dib.insert(dib.end(), colour.begin(), colour.end());
    dib.insert(dib.end(), 4 * 4, 0);  // the mask: 4 rows of 4 bytes
    Bytes ico;
    put16(ico, 0);
    put16(ico, 1);
    put16(ico, 1);
    ico.insert(ico.end(), {4, 4, 0, 0});
    put16(ico, 1);
    put16(ico, 24);
    put32(ico, static_cast<std::uint32_t>(dib.size()));
    put32(ico, 22);
    ico.insert(ico.end(), dib.begin(), dib.end());
    const Picture p = load(files, "cover.ico", ico);
    int w = 0, h = 0, size = 0;
    pict_GetSize(p, w, h, size);
    QCOMPARE(w, 4);
    QCOMPARE(h, 4);
    QCOMPARE(size, int(ico.size()) - 24);
    run_in_task([&](Window task) {
      const Window win = make_canvas(task);
      pict_Draw(win, p, Point{3, 3}, rop_SrcCopy);
      QCOMPARE(surface_part(win, 3, 3, 4, 4), g);
      // The registered task icon, drawn with its transparency, changes the window somewhere.
      fill(win, 0x123456);
      draw_Icon(win, 0, 0, fixture::icon_task);
      bool changed = false;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) changed = changed || rgb_at(win, x, y) != 0x123456;
      QVERIFY(changed);
      QCOMPARE(caught_code([&] { draw_Icon(win, 0, 0, 4242); }), errcode::kNoBitmapResource);
    });
    pict_Destroy(p);
    // With two icons in the file the first image is taken from where its entry says.
    Bytes two;
    put16(two, 0);
    put16(two, 1);
    put16(two, 2);
    for (int i = 0; i < 2; ++i) {
      two.insert(two.end(), {4, 4, 0, 0});
      put16(two, 1);
      put16(two, 24);
      put32(two, static_cast<std::uint32_t>(dib.size()));
      put32(two, static_cast<std::uint32_t>(38 + i * dib.size()));
    }
    two.insert(two.end(), dib.begin(), dib.end());
    two.insert(two.end(), dib.begin(), dib.end());
    const Picture first = load(files, "two.ico", two);
    pict_GetSize(first, w, h, size);
    QCOMPARE(w, 4);
    QCOMPARE(h, 4);
    QCOMPARE(size, int(dib.size()));
    pict_Destroy(first);
    Bytes wrong_type = ico;
    wrong_type[2] = 2;  // a cursor file
    QCOMPARE(caught_code([&] { load(files, "c.ico", wrong_type); }), errcode::kNotPicture);
  }

  void rasterOperations() {
    Files files;
    const std::uint32_t src = 0x30C050, dst = 0x5A0FF0, brush = 0x0F0F0F;
    const Picture p = load(files, "one.bmp", bmp_file({2, 2, 24, 0, {}, {}, 40, rows24(Grid(2, std::vector<std::uint32_t>(2, src)))}));
    const std::uint32_t m = 0xFFFFFF;
    const std::pair<int, std::uint32_t> expect[] = {
        {rop_Blackness, 0}, {rop_Whiteness, m}, {rop_DstInvert, ~dst & m}, {rop_MergeCopy, src & brush},
        {rop_MergePaint, (~src | dst) & m}, {rop_NotSrcCopy, ~src & m}, {rop_NotSrcErase, ~(src | dst) & m},
        {rop_PatCopy, brush}, {rop_PatInvert, brush ^ dst}, {rop_PatPaint, (brush | ~src | dst) & m},
        {rop_SrcAnd, src & dst}, {rop_SrcCopy, src}, {rop_SrcErase, src & ~dst & m}, {rop_SrcInvert, src ^ dst},
        {rop_SrcPaint, src | dst}, {99, 0}};
    run_in_task([&](Window task) {
      const Window w = make_canvas(task);
      for (const auto& [rop, want] : expect) {
        fill(w, dst);
        win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(0x0F, 0x0F, 0x0F)});
        pict_Draw(w, p, Point{4, 4}, rop);
        if (rgb_at(w, 5, 5) != want) QFAIL(qPrintable(QStringLiteral("raster operation %1").arg(rop)));
        QCOMPARE(rgb_at(w, 6, 6), dst);  // outside the picture
      }
      // Mirrored destination: the columns reversed.
      const Grid g = sample_grid(3, 1);
      const Picture row = load(files, "row.bmp", bmp_file({3, 1, 24, 0, {}, {}, 40, rows24(g)}));
      pict_Draw(w, row, Rect{13, 0, 10, 1}, Rect{0, 0, 3, 1}, rop_SrcCopy);
      QCOMPARE(surface_part(w, 10, 0, 3, 1), (Grid{{g[0][2], g[0][1], g[0][0]}}));
      // Shrinking drops columns; a source beyond the picture leaves the window alone.
      fill(w, dst);
      pict_Draw(w, row, Rect{0, 0, 1, 1}, Rect{0, 0, 3, 1}, rop_SrcCopy);
      QCOMPARE(rgb_at(w, 0, 0), g[0][0]);
      pict_Draw(w, row, Rect{20, 20, 23, 21}, Rect{2, 0, 5, 1}, rop_SrcCopy);
      QCOMPARE(surface_part(w, 20, 20, 3, 1), (Grid{{g[0][2], dst, dst}}));
      pict_Destroy(row);
      QCOMPARE(caught_code([&] { pict_Draw(gui_detail::kScreenWindow, p, Point{0, 0}, 12); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { pict_Draw(0x7777, p, Point{0, 0}, 12); }), errcode::kNotWindow);
    });
    pict_Destroy(p);
  }

  // Rectangles, lines and polylines cover their start and leave out their end; draw modes.
  void figures() {
    run_in_task([](Window task) {
      const Window w = make_canvas(task);
      fill(w, 0xFFFFFF);
      win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(0, 0, 0)});
      win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(255, 0, 0)});
      draw_Rect(w, {10, 10, 20, 15});
      QCOMPARE(rgb_at(w, 10, 10), 0x000000u);
      QCOMPARE(rgb_at(w, 19, 14), 0x000000u);
      QCOMPARE(rgb_at(w, 12, 12), 0xFF0000u);
      QCOMPARE(rgb_at(w, 20, 12), 0xFFFFFFu);
      QCOMPARE(rgb_at(w, 12, 15), 0xFFFFFFu);
      win_SetBrush(w, Brush{pat_Hollow, 0});
      draw_Rect(w, {30, 30, 40, 40});
      QCOMPARE(rgb_at(w, 35, 35), 0xFFFFFFu);
      QCOMPARE(rgb_at(w, 30, 35), 0x000000u);

      draw_Line(w, {30, 5}, {40, 5});
      QCOMPARE(rgb_at(w, 30, 5), 0x000000u);
      QCOMPARE(rgb_at(w, 39, 5), 0x000000u);
      QCOMPARE(rgb_at(w, 40, 5), 0xFFFFFFu);
      draw_Line(w, {45, 9}, {45, 2});  // upwards
      QCOMPARE(rgb_at(w, 45, 3), 0x000000u);
      QCOMPARE(rgb_at(w, 45, 2), 0xFFFFFFu);
      draw_Polyline(w, {{50, 5}, {60, 5}, {60, 15}});
      QCOMPARE(rgb_at(w, 55, 5), 0x000000u);
      QCOMPARE(rgb_at(w, 60, 5), 0x000000u);
      QCOMPARE(rgb_at(w, 60, 14), 0x000000u);
      QCOMPARE(rgb_at(w, 60, 15), 0xFFFFFFu);

      // Twice with XOR gives the window back; mode 11 draws nothing; an invisible pen neither.
      win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(0x0F, 0xF0, 0x33)});
      win_SetDrawMode(w, dm_XorPen);
      draw_Line(w, {0, 50}, {20, 50});
      QCOMPARE(rgb_at(w, 10, 50), 0xFFFFFFu ^ 0x0FF033u);
      draw_Line(w, {0, 50}, {20, 50});
      QCOMPARE(rgb_at(w, 10, 50), 0xFFFFFFu);
      win_SetDrawMode(w, dm_Nop);
      draw_Line(w, {0, 52}, {20, 52});
      QCOMPARE(rgb_at(w, 10, 52), 0xFFFFFFu);
      win_SetDrawMode(w, dm_CopyPen);
      win_SetPen(w, Pen{3, ps_Hollow, 0});
      draw_Line(w, {0, 54}, {20, 54});
      QCOMPARE(rgb_at(w, 10, 54), 0xFFFFFFu);
    });
  }

  // Pixels, ellipses, arcs, pies, polygons and rounded rectangles with the pen and brush.
  void shapes() {
    run_in_task([](Window task) {
      const Window w = win_Create(wk_Child, {0, 0, 200, 140}, "", res_menu{0}, task, {}, recording_handler, 0);
      const std::uint32_t white = 0xFFFFFF, black = 0x000000, red = 0xFF0000;
      win_SetPen(w, Pen{1, ps_Hollow, 0});
      win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(255, 255, 255)});
      draw_Rect(w, {0, 0, 201, 141});
      win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(0, 0, 0)});
      win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(255, 0, 0)});
      // Near (x, y): some pixel of the 3 x 3 square around it has the colour.
      auto near = [w](int x, int y, std::uint32_t rgb) {
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            if (rgb_at(w, x + dx, y + dy) == rgb) return true;
        return false;
      };

      win_SetDrawMode(w, dm_XorPen);  // a pixel takes its colour as given
      draw_Pixel(w, {3, 3}, uix_ComposeRGB(0, 0, 255));
      QCOMPARE(rgb_at(w, 3, 3), 0x0000FFu);
      QCOMPARE(rgb_at(w, 4, 3), white);
      win_SetDrawMode(w, dm_CopyPen);

      draw_Ellipse(w, {10, 10, 31, 21});
      QCOMPARE(rgb_at(w, 20, 15), red);
      QCOMPARE(rgb_at(w, 10, 15), black);
      QCOMPARE(rgb_at(w, 30, 15), black);
      QCOMPARE(rgb_at(w, 31, 15), white);
      QCOMPARE(rgb_at(w, 11, 11), white);

      // On a flat ellipse the rays at 45 and 90 degrees meet it near its top, at x 49.7 and 40.
      draw_Arc(w, {0, 40, 81, 61}, {60, 30}, {40, 0});
      QVERIFY(near(45, 40, black));
      QVERIFY(!near(60, 41, black));
      QVERIFY(!near(40, 60, black));
      draw_Arc(w, {100, 0, 141, 41}, {120, 20}, {120, 20});  // one ray: the whole circle
      QVERIFY(near(100, 20, black) && near(140, 20, black) && near(120, 40, black));
      QCOMPARE(rgb_at(w, 120, 20), white);

      draw_Pie(w, {150, 0, 191, 41}, {190, 20}, {170, 0});  // the upper right quarter
      QCOMPARE(rgb_at(w, 178, 12), red);
      QCOMPARE(rgb_at(w, 162, 28), white);
      QCOMPARE(rgb_at(w, 162, 12), white);
      QVERIFY(near(180, 20, black));  // the radius along three o'clock

      // A five-pointed star: its centre is outside by the alternate rule, its points inside.
      std::vector<Point> star;
      for (int k = 0; k < 5; ++k) {
        const double a = (-90.0 + 144.0 * k) * 3.14159265358979 / 180.0;
        star.push_back({static_cast<int>(std::lround(50 + 30 * std::cos(a))), static_cast<int>(std::lround(100 + 30 * std::sin(a)))});
      }
      draw_Polygon(w, star);
      QCOMPARE(rgb_at(w, 50, 100), white);
      QCOMPARE(rgb_at(w, 50, 76), red);
      QVERIFY(near(50, 70, black));

      // Rectangles beyond what can be drawn draw nothing; the corner sizes of any number work.
      constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
      draw_Ellipse(w, {lo, lo, hi, hi});
      draw_Pie(w, {lo, 0, hi, 10}, {0, 0}, {lo, hi});
      QCOMPARE(rgb_at(w, 150, 100), white);
      draw_RoundRect(w, {150, 100, 161, 111}, lo, lo);
      QCOMPARE(rgb_at(w, 155, 105), red);

      draw_RoundRect(w, {100, 60, 141, 91}, 20, 20);
      QCOMPARE(rgb_at(w, 101, 61), white);  // the corner is cut off
      QCOMPARE(rgb_at(w, 120, 75), red);
      QCOMPARE(rgb_at(w, 120, 60), black);
      QCOMPARE(rgb_at(w, 100, 75), black);
    });
  }

  // The flood fill stops at the boundary colour and at the window's edges, and refuses a start
  // on the boundary or outside the window; inside e_update it keeps to the repainted rectangle.
  void floodFill() {
    run_in_task([](Window task) {
      const Window w = make_canvas(task);
      fill(w, 0xFFFFFF);
      win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(0, 0, 0)});
      win_SetBrush(w, Brush{pat_Hollow, 0});
      draw_Rect(w, {10, 10, 51, 41});
      draw_Line(w, {30, 10}, {30, 41});
      draw_Line(w, {60, 0}, {60, 80});
      win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(0, 255, 0)});
      QVERIFY(draw_FloodFill(w, {20, 25}, uix_ComposeRGB(0, 0, 0)));
      QCOMPARE(rgb_at(w, 11, 11), 0x00FF00u);
      QCOMPARE(rgb_at(w, 29, 39), 0x00FF00u);
      QCOMPARE(rgb_at(w, 10, 25), 0x000000u);
      QCOMPARE(rgb_at(w, 40, 25), 0xFFFFFFu);  // beyond the dividing line
      QCOMPARE(rgb_at(w, 5, 5), 0xFFFFFFu);
      QVERIFY(!draw_FloodFill(w, {10, 25}, uix_ComposeRGB(0, 0, 0)));
      QVERIFY(!draw_FloodFill(w, {500, 25}, uix_ComposeRGB(0, 0, 0)));
      // Right of the line up to the window's edge.
      win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(0, 0, 255)});
      QVERIFY(draw_FloodFill(w, {100, 40}, uix_ComposeRGB(0, 0, 0)));
      QCOMPARE(rgb_at(w, 119, 79), 0x0000FFu);
      QCOMPARE(rgb_at(w, 61, 0), 0x0000FFu);
      QCOMPARE(rgb_at(w, 59, 0), 0xFFFFFFu);

      // In e_update of a part of the window, the fill stays inside that part.
      QTest::qWait(50);  // the repaints that the drawing above asked for are over
      win_SetBrush(w, Brush{pat_Solid, uix_ComposeRGB(255, 0, 0)});
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (win != w) return std::nullopt;
        if (std::holds_alternative<e_update>(ev)) draw_FloodFill(w, {40, 25}, uix_ComposeRGB(0, 0, 0));
        return 0;  // and no background erase
      };
      win_Invalidate(w, {35, 20, 45, 30});
      QVERIFY(wait_until([w] { return rgb_at(w, 40, 25) == 0xFF0000u; }));
      QCOMPARE(rgb_at(w, 40, 35), 0xFFFFFFu);
    });
  }

  // Tools set while e_update runs are used by the next drawing at once.
  void toolsChangeInsideUpdate() {
    run_in_task([](Window task) {
      const Window w = make_canvas(task);
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (win != w || !std::holds_alternative<e_update>(ev)) return std::nullopt;
        win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(255, 0, 0)});
        draw_Line(w, {0, 1}, {10, 1});
        win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(0, 0, 255)});
        draw_Line(w, {0, 2}, {10, 2});
        return 0;
      };
      win_Update(w);
      QCOMPARE(rgb_at(w, 5, 1), 0xFF0000u);
      QCOMPARE(rgb_at(w, 5, 2), 0x0000FFu);

      // A font in a set of tools becomes the window's font.
      DrawTools t = win_GetDefaultDrawTools();
      t.font = font_Create(ff_Times, {fs_Bold}, 14);
      win_SetDrawTools(w, t);
      QCOMPARE(win_GetFont(w), *t.font);
      win_SetBackMode(w, 77);  // anything but 1 is opaque
      QCOMPARE(win_GetDrawTools(w).back_mode, int(bk_Opaque));
    });
  }

  void text() {
    run_in_task([](Window task) {
      const Window w = make_canvas(task);
      win_SetFont(w, font_Create(ff_Helvetica, {}, 12));
      const FontMetrics m = win_GetFontMetrics(w);
      QVERIFY(m.ascent > 0 && m.descent >= 0);
      QCOMPARE(m.height, m.ascent + m.descent);
      int w1 = 0, h1 = 0, w4 = 0, h4 = 0, wcut = 0, hcut = 0, wall = 0, hall = 0;
      win_GetTextExtent(w, "WWWW", -1, w4, h4);
      win_GetTextExtent(w, "W", -1, w1, h1);
      win_GetTextExtent(w, "WWWW", 1, wcut, hcut);
      win_GetTextExtent(w, "WWWW", 99, wall, hall);
      QVERIFY(w4 > 3 * w1);
      QCOMPARE(wcut, w1);
      QCOMPARE(wall, w4);
      QCOMPARE(h1, m.height);

      // Opaque: the text cell in the background colour, glyphs in the text colour, all of it
      // between ascent above and descent below the baseline.
      fill(w, 0xFFFFFF);
      win_SetForeColor(w, uix_ComposeRGB(0, 0, 255));
      win_SetBackColor(w, uix_ComposeRGB(255, 255, 0));
      draw_Text(w, 10, 40, "Wy");
      int fore = 0, back = 0, outside = 0;
      for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
          const std::uint32_t c = rgb_at(w, x, y);
          if (c == 0xFFFFFF) continue;
          const bool in_cell = x >= 10 && x < 10 + w4 && y >= 40 - m.ascent && y < 40 + m.descent;
          if (!in_cell) ++outside;
          if (c == 0x0000FF) ++fore;
          if (c == 0xFFFF00) ++back;
        }
      QVERIFY(fore > 0 && back > 0);
      QCOMPARE(outside, 0);
      fill(w, 0xFFFFFF);
      win_SetBackMode(w, bk_Transparent);
      draw_Text(w, 10, 40, "Wy");
      bool any_back = false;
      for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) any_back = any_back || rgb_at(w, x, y) == 0xFFFF00;
      QVERIFY(!any_back);

      // In a rectangle: centred on one line; clipped to the rectangle unless asked not to.
      auto ink_columns = [w](int y0, int y1) {
        int lo = 1000, hi = -1;
        for (int y = y0; y < y1; ++y)
          for (int x = 0; x < 120; ++x)
            if (rgb_at(w, x, y) != 0xFFFFFF) lo = std::min(lo, x), hi = std::max(hi, x);
        return std::pair{lo, hi};
      };
      fill(w, 0xFFFFFF);
      draw_TextInRect(w, {0, 0, 120, 30}, "ii", -1, {dtext_Center, dtext_SingleLine, dtext_VCenter});
      const auto [lo, hi] = ink_columns(0, 30);
      QVERIFY(hi >= lo);
      QVERIFY(std::abs((lo + hi) / 2 - 60) <= 3);
      fill(w, 0xFFFFFF);
      draw_TextInRect(w, {0, 0, 8, 30}, "WWWWWW", -1, {dtext_SingleLine});
      QVERIFY(ink_columns(0, 80).second < 8);
      fill(w, 0xFFFFFF);
      draw_TextInRect(w, {0, 0, 8, 30}, "WWWWWW", -1, {dtext_SingleLine, dtext_NoClip});
      QVERIFY(ink_columns(0, 80).second >= 8);
      // "&&" is one "&" unless mnemonics are off: the text is narrower with them.
      fill(w, 0xFFFFFF);
      draw_TextInRect(w, {0, 0, 120, 30}, "&&&&&&", -1, {dtext_SingleLine});
      const int with_prefix = ink_columns(0, 30).second;
      fill(w, 0xFFFFFF);
      draw_TextInRect(w, {0, 0, 120, 30}, "&&&&&&", -1, {dtext_SingleLine, dtext_NoPrefix});
      QVERIFY(ink_columns(0, 30).second > with_prefix);
    });
  }

  // Drawing while the window's background is erased is run-time error 6231.
  void drawingDuringEraseIsAnError() {
    static int reported = 0;
    reported = 0;
    uix_SetErrorHandler([](int code) { reported = code; });
    run_in_task([](Window task) {
      const Window w = make_canvas(task);
      win_Update(w);
      draw_Line(w, {0, 0}, {5, 0});  // shown by a paint without erase
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (win == w && std::holds_alternative<e_erasebackground>(ev)) draw_Line(w, {0, 0}, {5, 5});
        return std::nullopt;
      };
      win_Invalidate(w, {0, 0, 5, 5});  // with erase
      win_Update(w);
      QCOMPARE(reported, errcode::kDrawWhileErasing);
      QCOMPARE(caught_code([&] { draw_Rect(gui_detail::kScreenWindow, {0, 0, 1, 1}); }), errcode::kWrongKind);
    });
  }

  // Drawing outside e_update after win_Invalidate: the paint still erases the invalidated part,
  // and only that part, so the drawing beside it stays.
  void invalidatedPartIsErasedAfterDrawing() {
    run_in_task([](Window task) {
      const Window w = make_canvas(task);
      fill(w, 0x0000FF);
      win_Update(w);
      log().clear();
      win_Invalidate(w, {0, 0, 20, 20});
      win_SetPen(w, Pen{1, ps_Solid, uix_ComposeRGB(255, 0, 0)});
      draw_Line(w, {50, 50}, {60, 50});
      win_Update(w);
      QCOMPARE(events_of<e_erasebackground>(w).size(), std::size_t(1));
      const QColor background = find_record(w)->client->palette().color(QPalette::Window);
      QCOMPARE(rgb_at(w, 5, 5), background.rgb() & 0xFFFFFFu);
      QCOMPARE(rgb_at(w, 55, 50), 0xFF0000u);
      QCOMPARE(rgb_at(w, 40, 40), 0x0000FFu);
    });
  }

  void pointsAndEvents() {
    QVERIFY(rect_PntInside({0, 0, 10, 10}, {10, 10}));
    QVERIFY(rect_PntInside({0, 0, 10, 10}, {0, 0}));
    QVERIFY(!rect_PntInside({0, 0, 10, 10}, {11, 5}));
    QVERIFY(!rect_PntInside({0, 0, 10, 10}, {5, -1}));
    run_in_task([](Window task) {
      const Window outer = make_canvas(task);
      const Window inner = win_Create(wk_Child, {7, 9, 30, 30}, "", res_menu{0}, outer, {}, recording_handler, 0);
      QCOMPARE(win_MapPoints(inner, outer, {{1, 1}, {-2, 0}}), (std::vector<Point>{{8, 10}, {5, 9}}));
      const std::vector<Point> on_screen = win_MapPoints(inner, gui_detail::kScreenWindow, {{0, 0}});
      QCOMPARE(win_MapPoints(gui_detail::kScreenWindow, inner, on_screen), (std::vector<Point>{{0, 0}}));

      // Posted events run inside uix_ProcessEvents.
      win_PostEvent(outer, e_user{5, 6});
      uix_ProcessEvents();
      QCOMPARE(events_of<e_user>(outer).size(), std::size_t(1));
      // The form with 0 runs timers and drops input.
      const std::int32_t t = timer_Set(outer, 1);
      QWidget* client = find_record(outer)->client;
      QCoreApplication::postEvent(client, new QMouseEvent(QEvent::MouseButtonPress, QPointF(3, 3), client->mapToGlobal(QPointF(3, 3)),
                                                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
      QTest::qSleep(5);
      uix_ProcessEvents(0);
      timer_Kill(t);
      QVERIFY(!events_of<e_timer>(outer).empty());
      QTest::qWait(10);
      QVERIFY(events_of<e_mousedown>(outer).empty());

      // Nothing runs while a hooked event is offered to the handler.
      static bool first = true, ran_inside = false;
      auto user7 = [outer] {
        const auto users = events_of<e_user>(outer);
        return std::count_if(users.begin(), users.end(), [](const e_user& u) { return u.id == 7; });
      };
      static std::function<long()> count7;
      count7 = user7;
      behaviour() = [outer](Window win, const Event& ev) -> std::optional<long> {
        if (win == outer && std::holds_alternative<e_native>(ev) && first) {
          first = false;
          win_PostEvent(outer, e_user{7, 0});
          uix_ProcessEvents();
          ran_inside = count7() > 0;
        }
        return std::nullopt;
      };
      win_EnableHook(outer, true);
      QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(3, 3));
      win_EnableHook(outer, false);
      behaviour() = nullptr;
      QVERIFY(!first);
      QVERIFY(!ran_inside);
      QVERIFY(wait_until([&] { return user7() == 1; }));
    });
  }
};

QTEST_MAIN(PictureTests)
#include "picture_tests.moc"

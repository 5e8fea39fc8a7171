// Picture files of every format the toolkit reads, made here with the toolkit's writer: loaded
// into the layer's packed bitmap block, the reason a file is no usable picture, loading within
// bounds, drawing scaled to fit, saving as PNG and the clipboard's picture.
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMimeData>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "internal/paint_surface.h"
#include "internal/picture_store.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::checked_picture;
using gui_detail::find_record;

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// Four blocks of colour: red, green / blue, yellow, 40 × 30 pixels.
QImage sample(int w = 40, int h = 30) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, low = y >= h / 2;
      img.setPixel(x, y, !low ? (right ? qRgb(0, 200, 0) : qRgb(220, 0, 0)) : (right ? qRgb(230, 230, 0) : qRgb(0, 0, 210)));
    }
  return img;
}

// The CRC-32 of PNG chunks.
quint32 crc32(const QByteArray& bytes) {
  quint32 crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

QByteArray be32(quint32 v) {
  QByteArray b;
  for (int s : {24, 16, 8, 0}) b.append(char(v >> s));
  return b;
}

QByteArray png_chunk(const char* type, const QByteArray& data) {
  const QByteArray body = QByteArray(type) + data;
  return be32(static_cast<quint32>(data.size())) + body + be32(crc32(body));
}

// A GIF of the sample's four colours, written here (the toolkit reads GIF but does not write
// it): its LZW codes stay 3 bits wide by a clear code before every second pixel.
QByteArray gif_of(const QImage& img) {
  const QRgb colours[4] = {qRgb(220, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 210), qRgb(230, 230, 0)};
  auto le16 = [](QByteArray& b, int v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
  QByteArray out("GIF89a");
  le16(out, img.width());
  le16(out, img.height());
  out.append(char(0x91)).append(char(0)).append(char(0));  // a table of 4 colours
  for (QRgb c : colours) out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
  out.append(char(0x2C));
  le16(out, 0);
  le16(out, 0);
  le16(out, img.width());
  le16(out, img.height());
  out.append(char(0)).append(char(2));  // no local table; codes of 2 bits + 1
  QByteArray codes;
  quint32 bits = 0;
  int count = 0;
  auto put = [&](int code) {
    bits |= static_cast<quint32>(code) << count;
    count += 3;
    while (count >= 8) {
      codes.append(char(bits & 0xFF));
      bits >>= 8;
      count -= 8;
    }
  };
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      if (n++ % 2 == 0) put(4);  // clear
      int index = 0;
      while (index < 3 && colours[index] != (img.pixel(x, y) | 0xFF000000u)) ++index;
      put(index);
    }
  put(5);  // end of information
  if (count > 0) codes.append(char(bits & 0xFF));
  for (qsizetype at = 0; at < codes.size(); at += 255) {
    const QByteArray block = codes.mid(at, 255);
    out.append(char(block.size())).append(block);
  }
  out.append(char(0)).append(char(0x3B));
  return out;
}

// An uncompressed true-colour TGA 2.0 file (the toolkit reads TGA but does not write it). Its
// first bytes are those of a cursor file's directory.
QByteArray tga_of(const QImage& img) {
  QByteArray out(18, '\0');
  out[2] = 2;  // true colour, no colour map
  out[12] = char(img.width() & 0xFF);
  out[13] = char(img.width() >> 8);
  out[14] = char(img.height() & 0xFF);
  out[15] = char(img.height() >> 8);
  out[16] = 24;
  for (int y = img.height() - 1; y >= 0; --y)  // bottom row first
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
    }
  // The footer of a TGA 2.0 file, which the toolkit's reader asks for.
  out.append(QByteArray(8, '\0')).append("TRUEVISION-XFILE.").append('\0');
  return out;
}

bool near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class Folder {
 public:
  // The program's name of a file in the folder (cp1251).
  std::string name(const char* utf8) const { return RUN_FromHostPath((dir_.path() + "/" + QString::fromUtf8(utf8)).toStdString()); }
  QString host(const char* utf8) const { return dir_.path() + "/" + QString::fromUtf8(utf8); }
  void write(const char* utf8, const QByteArray& bytes) const {
    QFile f(host(utf8));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

 private:
  QTemporaryDir dir_;
};

// The decoded pixel of a picture (the layer's own copy of its pixels).
QRgb pixel(Picture p, int x, int y) { return checked_picture(p).image.pixel(x, y); }

Window make_canvas(Window task) {
  return win_Create(wk_Child, {0, 0, 200, 160}, "", res_menu{0}, task, {wsf_ClipSiblings}, recording_handler, 0);
}

QRgb surface_pixel(Window w, int x, int y) { return find_record(w)->surface->image().pixel(x, y) | 0xFF000000u; }

// Fills the window white through the drawing operations.
void clear_white(Window w) {
  const Color white = uix_ComposeRGB(255, 255, 255);
  win_SetPen(w, Pen{1, ps_Hollow, white});
  win_SetBrush(w, Brush{pat_Solid, white});
  draw_Rect(w, {0, 0, 201, 161});
}

}  // namespace

class PictureFileTests : public QtSuite {
  Q_OBJECT

 public:
  PictureFileTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  void everyFormatLoads_data() {
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("bmp") << QByteArray("bmp") << QString("обложка.bmp") << 0;
    QTest::newRow("png") << QByteArray("png") << QString("обложка.png") << 0;
    QTest::newRow("jpeg") << QByteArray("jpeg") << QString("IMG_0001.JPG") << 24;
    QTest::newRow("gif") << QByteArray("gif") << QString("cover.gif") << 8;
    QTest::newRow("webp") << QByteArray("webp") << QString("cover.webp") << 24;
    QTest::newRow("tiff") << QByteArray("tiff") << QString("cover.tif") << 0;
    QTest::newRow("ico") << QByteArray("ico") << QString("cover.ico") << 0;
    QTest::newRow("tga") << QByteArray("tga") << QString("cover.tga") << 0;
    QTest::newRow("png named .bmp") << QByteArray("png") << QString("wrong.bmp") << 0;
  }
  // Each format gives the picture's size, a packed 24-bit block (or the bitmap's own block) and
  // its colours; the file chooser's patterns name it.
  void everyFormatLoads() {
    QFETCH(QByteArray, format);
    QFETCH(QString, file);
    QFETCH(int, tolerance);
    const std::vector<std::string> formats = pict_Formats();
    QVERIFY2(std::find(formats.begin(), formats.end(), format.toStdString()) != formats.end(), format.constData());
    Folder dir;
    const QByteArray utf8 = file.toUtf8();
    if (format == "gif") {
      dir.write(utf8.constData(), gif_of(sample()));
    } else if (format == "tga") {
      dir.write(utf8.constData(), tga_of(sample()));
    } else {
      QImageWriter writer(dir.host(utf8.constData()), format);
      if (format == "webp") writer.setQuality(100);  // lossless
      QVERIFY2(writer.write(sample()), qPrintable(writer.errorString()));
    }

    PictureFault fault = pf_NotPicture;
    QVERIFY(pict_Check(dir.name(utf8.constData()), fault));
    QCOMPARE(fault, pf_None);
    const Picture p = pict_Load(dir.name(utf8.constData()));
    int w = 0, h = 0, size = 0;
    pict_GetSize(p, w, h, size);
    QCOMPARE(w, 40);
    QCOMPARE(h, 30);
    const qint64 file_size = QFileInfo(dir.host(utf8.constData())).size();
    if (format == "bmp")
      QCOMPARE(qint64(size), file_size - 14);  // the file's own block
    else if (format == "ico")
      QCOMPARE(qint64(size), file_size - 24);  // the first icon's own block, as the layer reads it
    else
      QCOMPARE(size, 40 + 120 * 30);  // 24-bit rows of 40 pixels: 120 bytes each
    QVERIFY(near(pixel(p, 2, 2), qRgb(220, 0, 0), tolerance));
    QVERIFY(near(pixel(p, 37, 2), qRgb(0, 200, 0), tolerance));
    QVERIFY(near(pixel(p, 2, 27), qRgb(0, 0, 210), tolerance));
    QVERIFY(near(pixel(p, 37, 27), qRgb(230, 230, 0), tolerance));
    pict_Destroy(p);

    const std::string patterns = pict_FilePatterns();
    const std::string ext = QFileInfo(file).suffix().toLower().toStdString();
    QVERIFY(patterns.find("*." + ext + ";") != std::string::npos);
    std::string upper = ext;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    QVERIFY(patterns.find("*." + upper) != std::string::npos);
  }

  // A picture with transparent parts is laid on white; a photograph's orientation tag turns it.
  void transparencyAndOrientation() {
    Folder dir;
    QImage clear(4, 2, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    clear.setPixel(1, 0, qRgba(0, 0, 255, 255));
    clear.setPixel(2, 0, qRgba(255, 0, 0, 128));
    QVERIFY(clear.save(dir.host("clear.png")));
    const Picture p = pict_Load(dir.name("clear.png"));
    QCOMPARE(pixel(p, 0, 0), qRgb(255, 255, 255));
    QCOMPARE(pixel(p, 1, 0), qRgb(0, 0, 255));
    QVERIFY(near(pixel(p, 2, 0), qRgb(255, 127, 127), 2));
    pict_Destroy(p);

    QImageWriter writer(dir.host("turned.jpg"), "jpeg");
    if (!writer.supportsOption(QImageIOHandler::ImageTransformation)) QSKIP("the JPEG writer cannot tag an orientation");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(writer.write(sample()));
    PictureFault fault = pf_None;
    const std::optional<Picture> turned = pict_TryLoad(dir.name("turned.jpg"), fault);
    QVERIFY(turned);
    int w = 0, h = 0, size = 0;
    pict_GetSize(*turned, w, h, size);
    QCOMPARE(w, 30);
    QCOMPARE(h, 40);
    QVERIFY(near(pixel(*turned, 27, 2), qRgb(220, 0, 0), 24));  // the red corner is now top right
    pict_Destroy(*turned);
    // Bounded: the bound holds for the picture as it is shown.
    const std::optional<Picture> small = pict_TryLoad(dir.name("turned.jpg"), fault, 15, 20);
    QVERIFY(small);
    pict_GetSize(*small, w, h, size);
    QCOMPARE(w, 15);
    QCOMPARE(h, 20);
    pict_Destroy(*small);
  }

  void faultsAreToldWithoutAnError_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("code");
    QTest::newRow("missing") << QString("нет.png") << int(pf_Missing) << errcode::kCannotOpenFile;
    QTest::newRow("no name") << QString() << int(pf_Missing) << errcode::kCannotOpenFile;
    QTest::newRow("a folder") << QString("папка") << int(pf_Unreadable) << errcode::kCannotOpenFile;
    QTest::newRow("text named .jpg") << QString("text.jpg") << int(pf_NotPicture) << errcode::kNotPicture;
    QTest::newRow("empty") << QString("empty.png") << int(pf_NotPicture) << errcode::kNotPicture;
    QTest::newRow("cut png") << QString("cut.png") << int(pf_NotPicture) << errcode::kNotPicture;
    QTest::newRow("cut bmp") << QString("cut.bmp") << int(pf_NotPicture) << errcode::kNotPicture;
    QTest::newRow("cursor") << QString("arrow.cur") << int(pf_NotPicture) << errcode::kNotPicture;
    QTest::newRow("huge png") << QString("huge.png") << int(pf_TooLarge) << errcode::kLayerMemory;
  }
  // Each fault is named by pict_Check and pict_TryLoad, which raise nothing; pict_Load raises
  // its run-time error.
  void faultsAreToldWithoutAnError() {
    QFETCH(QString, file);
    QFETCH(int, fault);
    QFETCH(int, code);
    Folder dir;
    QVERIFY(QDir(dir.host("")).mkdir(QStringLiteral("папка")));
    dir.write("text.jpg", "This is only text, not a picture.\r\n");
    dir.write("empty.png", {});
    QByteArray png;
    {
      QBuffer b(&png);
      b.open(QIODevice::WriteOnly);
      sample().save(&b, "PNG");
    }
    dir.write("cut.png", png.left(png.size() / 2));
    QByteArray bmp;
    {
      QBuffer b(&bmp);
      b.open(QIODevice::WriteOnly);
      sample().save(&b, "BMP");
    }
    dir.write("cut.bmp", bmp.left(200));
    QByteArray cur(22 + 40, '\0');
    cur[2] = 2;  // a cursor directory
    cur[4] = 1;
    dir.write("arrow.cur", cur);
    // A PNG whose header claims 20000 × 20000 pixels (its header's check sum right).
    const QByteArray header = be32(20000) + be32(20000) + QByteArray("\x08\x02\0\0\0", 5);
    dir.write("huge.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + png_chunk("IHDR", header) +
                              png_chunk("IDAT", QByteArray(64, '\0')) + png_chunk("IEND", {}));

    const std::string name = file.isEmpty() ? std::string() : dir.name(file.toUtf8().constData());
    PictureFault got = pf_None;
    QVERIFY(!pict_Check(name, got));
    QCOMPARE(int(got), fault);
    got = pf_None;
    QVERIFY(!pict_TryLoad(name, got, 100, 100));
    QCOMPARE(int(got), fault);
    QCOMPARE(caught_code([&] { pict_Load(name); }), code);
    QVERIFY(!QApplication::activeModalWidget());  // no box was shown
  }

  // A bound scales a large picture down, aspect kept, while it is read; a smaller one is left.
  void loadingWithinBounds() {
    Folder dir;
    QVERIFY(sample(400, 300).save(dir.host("big.png")));
    QVERIFY(sample(400, 300).save(dir.host("big.bmp")));
    for (const char* file : {"big.png", "big.bmp"}) {
      PictureFault fault = pf_NotPicture;
      const std::optional<Picture> p = pict_TryLoad(dir.name(file), fault, 100, 100);
      QVERIFY(p);
      QCOMPARE(fault, pf_None);
      int w = 0, h = 0, size = 0;
      pict_GetSize(*p, w, h, size);
      QCOMPARE(w, 100);
      QCOMPARE(h, 75);
      QCOMPARE(size, 40 + 300 * 75);
      QVERIFY(near(pixel(*p, 5, 5), qRgb(220, 0, 0), 4));
      QVERIFY(near(pixel(*p, 95, 70), qRgb(230, 230, 0), 4));
      pict_Destroy(*p);
      const std::optional<Picture> whole = pict_TryLoad(dir.name(file), fault, 1000, 1000);
      QVERIFY(whole);
      pict_GetSize(*whole, w, h, size);
      QCOMPARE(w, 400);
      pict_Destroy(*whole);
    }
  }

  void fitRect_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<QRect>("fit");  // left, top, right, bottom as x, y, width, height of the result
    QTest::newRow("wide into square") << QSize(400, 300) << QRect(0, 0, 200, 200) << false << QRect(0, 25, 200, 150);
    QTest::newRow("tall into square") << QSize(300, 400) << QRect(10, 10, 200, 200) << false << QRect(35, 10, 150, 200);
    QTest::newRow("small stays") << QSize(40, 30) << QRect(0, 0, 200, 200) << false << QRect(80, 85, 40, 30);
    QTest::newRow("small enlarged") << QSize(40, 30) << QRect(0, 0, 200, 200) << true << QRect(0, 25, 200, 150);
    QTest::newRow("thin line") << QSize(1000, 1) << QRect(0, 0, 100, 100) << false << QRect(0, 49, 100, 1);
    QTest::newRow("empty box") << QSize(40, 30) << QRect(5, 5, 0, 0) << true << QRect(5, 5, 0, 0);
  }
  void fitRect() {
    QFETCH(QSize, picture);
    QFETCH(QRect, box);
    QFETCH(bool, enlarge);
    QFETCH(QRect, fit);
    Folder dir;
    QVERIFY(sample(picture.width(), picture.height()).save(dir.host("p.png")));
    const Picture p = pict_Load(dir.name("p.png"));
    const Rect got = pict_FitRect(p, Rect{box.x(), box.y(), box.x() + box.width(), box.y() + box.height()}, enlarge);
    QCOMPARE(got, (Rect{fit.x(), fit.y(), fit.x() + fit.width(), fit.y() + fit.height()}));
    pict_Destroy(p);
  }

  // Drawn to fit: inside its rectangle, aspect kept, the rest of the box untouched, and smooth:
  // columns of black and white shrunk by half give grey, not one of the two.
  void drawnToFitSmoothly() {
    Folder dir;
    QImage stripes(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QVERIFY(stripes.save(dir.host("stripes.png")));
    QVERIFY(sample(400, 300).save(dir.host("wide.png")));
    const Picture s = pict_Load(dir.name("stripes.png"));
    const Picture wide = pict_Load(dir.name("wide.png"));
    run_in_task([&](Window task) {
      const Window w = make_canvas(task);
      clear_white(w);
      const Rect drawn = pict_DrawFit(w, wide, Rect{0, 0, 100, 100}, false);
      QCOMPARE(drawn, (Rect{0, 12, 100, 87}));
      QCOMPARE(surface_pixel(w, 50, 5), qRgb(255, 255, 255));  // above the picture: untouched
      QVERIFY(near(surface_pixel(w, 10, 20), qRgb(220, 0, 0), 8));
      QVERIFY(near(surface_pixel(w, 90, 80), qRgb(230, 230, 0), 8));
      QCOMPARE(surface_pixel(w, 50, 95), qRgb(255, 255, 255));  // below it

      QCOMPARE(pict_DrawFit(w, s, Rect{120, 0, 124, 4}, false), (Rect{120, 0, 124, 4}));
      for (int x = 121; x < 123; ++x) {
        const QRgb g = surface_pixel(w, x, 2);
        QVERIFY2(qRed(g) > 60 && qRed(g) < 195, qPrintable(QString::number(qRed(g))));
      }
      // Drawn again at another size: the scaling follows.
      QCOMPARE(pict_DrawFit(w, s, Rect{130, 0, 146, 16}, true), (Rect{130, 0, 146, 16}));
      QCOMPARE(checked_picture(s).fitted.size(), QSize(16, 16));
      QCOMPARE(caught_code([&] { pict_DrawFit(w, 0x7777, Rect{0, 0, 10, 10}, false); }), errcode::kLayerMemory);
      win_Destroy(w);
    });
    pict_Destroy(s);
    pict_Destroy(wide);
  }

  // Saved as PNG, a picture loads back the same; a folder that does not exist is a host error.
  void savedAsPng() {
    Folder dir;
    QVERIFY(sample().save(dir.host("a.jpg"), "JPEG", 95));
    const Picture p = pict_Load(dir.name("a.jpg"));
    pict_SavePng(p, dir.name("копия.png"));
    QFile f(dir.host("копия.png"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8));
    const QImage back(dir.host("копия.png"));
    QVERIFY(!back.hasAlphaChannel());  // an opaque picture is written without alpha
    const Picture q = pict_Load(dir.name("копия.png"));
    QCOMPARE(checked_picture(q).image, checked_picture(p).image);
    const std::vector<std::uint8_t>& a = checked_picture(p).block;
    const std::vector<std::uint8_t>& b = checked_picture(q).block;
    QCOMPARE(std::vector<std::uint8_t>(b.begin() + 40, b.end()), std::vector<std::uint8_t>(a.begin() + 40, a.end()));
    QCOMPARE(caught_code([&] { pict_SavePng(p, dir.name("нет/такой.png")); }), errcode::host(ENOENT));
    pict_Destroy(p);
    pict_Destroy(q);
  }

  // The clipboard's picture: there or not, taken as a picture, and put back.
  void clipboardPictureRoundTrip() {
    QClipboard* cb = QGuiApplication::clipboard();
    clip_SetText("no picture");
    QVERIFY(!clip_HasPicture());
    QVERIFY(!clip_GetPicture());

    cb->setImage(sample(20, 10));
    QVERIFY(clip_HasPicture());
    const std::optional<Picture> p = clip_GetPicture();
    QVERIFY(p);
    int w = 0, h = 0, size = 0;
    pict_GetSize(*p, w, h, size);
    QCOMPARE(w, 20);
    QCOMPARE(h, 10);
    QCOMPARE(pixel(*p, 15, 8), qRgb(230, 230, 0));

    clip_SetText("text again");
    QVERIFY(!clip_HasPicture());
    clip_SetPicture(*p);
    QVERIFY(clip_HasPicture());
    const QImage back = cb->image();
    QCOMPARE(back.size(), QSize(20, 10));
    QCOMPARE(back.pixel(2, 2) | 0xFF000000u, qRgb(220, 0, 0));
    pict_Destroy(*p);
    cb->clear();
  }
};

QTEST_MAIN(PictureFileTests)
#include "picture_file_tests.moc"

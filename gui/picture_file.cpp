// Picture files: loading every format the toolkit reads (bitmaps and icons by the layer's own
// decoder), the reason a file is no usable picture, the list of formats, drawing scaled to fit
// and saving as PNG.
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <filesystem>
#include <new>
#include <set>

#include "internal/draw_target.h"
#include "internal/picture_image.h"
#include "internal/picture_store.h"
#include "layer/picture.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

using namespace gui_detail;

namespace {

// Formats the toolkit lists that the layer does not load: cursor files are refused as bitmaps of
// the layer's own (they are not pictures of the program).
bool excluded_format(const std::string& f) { return f == "cur"; }

// What a file's first bytes say about who reads it: bitmap and icon files the layer's own
// decoder, everything else the toolkit. Bytes 0, 0, 2, 0 start a cursor directory or an
// uncompressed true-colour TGA file; the toolkit reads them as TGA only, since cursors are no
// pictures of the program.
enum class Reader { own, toolkit, tga_only };
Reader reader_for(const QByteArray& head) {
  if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') return Reader::own;
  if (head.size() >= 4 && head[0] == 0 && head[1] == 0 && head[3] == 0) {
    if (head[2] == 1) return Reader::own;
    if (head[2] == 2) return Reader::tga_only;
  }
  return Reader::toolkit;
}

// `size` made to fit inside the bounds (0: no bound), aspect kept; never enlarged.
QSize bounded(QSize size, int max_width, int max_height) {
  if (max_width <= 0 || max_height <= 0 || size.isEmpty()) return size;
  if (size.width() <= max_width && size.height() <= max_height) return size;
  QSize out = size.scaled(QSize(max_width, max_height), Qt::KeepAspectRatio);
  return out.expandedTo(QSize(1, 1));
}

bool too_many_pixels(QSize size) {
  return static_cast<std::uint64_t>(std::max(size.width(), 0)) * static_cast<std::uint64_t>(std::max(size.height(), 0)) >
         bitmap::kMaxPixels;
}

// What reading the file gave: the picture when asked to keep it, or the fault.
struct Reading {
  PictureFault fault = pf_None;
  Picture picture = 0;
};

// A picture of the layer's own formats: the block as the file holds it, or, when it has to be
// made smaller, the scaled image's block.
Reading own_picture(QIODevice& file, int max_width, int max_height, bool keep) {
  const QByteArray bytes = file.readAll();
  if (auto* f = qobject_cast<QFileDevice*>(&file); f && f->error() != QFileDevice::NoError) return {pf_Unreadable};
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  std::vector<std::uint8_t> block = bitmap::block_from_file({data, static_cast<std::size_t>(bytes.size())});
  if (block.empty()) return {pf_NotPicture};
  bitmap::Image decoded;
  switch (bitmap::decode_block(block, decoded)) {
    case bitmap::Status::not_a_picture: return {pf_NotPicture};
    case bitmap::Status::too_large: return {pf_TooLarge};
    case bitmap::Status::ok: break;
  }
  if (!keep) return {};
  QImage image = to_qimage(decoded);
  if (image.isNull()) return {pf_TooLarge};
  const QSize fit = bounded(image.size(), max_width, max_height);
  if (fit != image.size()) return {pf_None, picture_of_image(image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))};
  return {pf_None, add_picture(std::move(block), std::move(image))};
}

// A picture in a format of the toolkit, turned upright as its orientation tag says.
Reading toolkit_picture(QIODevice& file, int max_width, int max_height, bool keep, bool tga_only) {
  QImageReader reader(&file);
  if (tga_only)
    reader.setFormat("tga");
  else
    reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  // The layer's own limit on pixels is the one that holds, not the toolkit's smaller default.
  reader.setAllocationLimit(static_cast<int>(bitmap::kMaxPixels * 4 / (1024 * 1024)));
  if (!reader.canRead()) return {pf_NotPicture};
  QSize size = reader.size();
  if (too_many_pixels(size)) return {pf_TooLarge};
  const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
  // Only checking: a small reading still goes through all of the file's data.
  if (!keep) max_width = max_height = 64;
  if (turned) std::swap(max_width, max_height);
  if (const QSize fit = bounded(size, max_width, max_height); size.isValid() && fit != size) reader.setScaledSize(fit);
  QImage image = reader.read();
  if (image.isNull()) return {reader.error() == QImageReader::FileNotFoundError ? pf_Unreadable : pf_NotPicture};
  if (!keep) return {};
  if (turned) std::swap(max_width, max_height);
  if (const QSize fit = bounded(image.size(), max_width, max_height); fit != image.size())
    image = image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return {pf_None, picture_of_image(image)};
}

// The picture on an open device: the reader its first bytes name.
Reading read_device(QIODevice& file, int max_width, int max_height, bool keep) {
  try {
    const Reader by = reader_for(file.peek(4));
    if (by == Reader::own) return own_picture(file, max_width, max_height, keep);
    return toolkit_picture(file, max_width, max_height, keep, by == Reader::tga_only);
  } catch (const std::bad_alloc&) {
    return {pf_TooLarge};
  } catch (const RunError& e) {
    if (e.code() == errcode::kLayerMemory) return {pf_TooLarge};
    throw;
  }
}

Reading read_picture(const std::string& file_name, int max_width, int max_height, bool keep) {
  const std::string host = RUN_HostPath(file_name);
  std::error_code ec;
  if (host.empty()) return {pf_Missing};
  const std::filesystem::file_status st = std::filesystem::status(host, ec);
  if (!std::filesystem::exists(st)) return {pf_Missing};
  if (std::filesystem::is_directory(st)) return {pf_Unreadable};
  QFile file(QString::fromStdString(host));
  if (!file.open(QIODevice::ReadOnly)) return {pf_Unreadable};
  return read_device(file, max_width, max_height, keep);
}

Rect fit_rect(int pw, int ph, Rect box, bool enlarge) {
  const std::int64_t bw = std::int64_t(box.right) - box.left, bh = std::int64_t(box.bottom) - box.top;
  if (bw <= 0 || bh <= 0 || pw <= 0 || ph <= 0) return Rect{box.left, box.top, box.left, box.top};
  std::int64_t w = pw, h = ph;
  if (enlarge || w > bw || h > bh) {
    if (bw * ph <= bh * pw) {  // the width decides
      w = bw;
      h = std::max<std::int64_t>(1, (std::int64_t(ph) * bw + pw / 2) / pw);
    } else {
      h = bh;
      w = std::max<std::int64_t>(1, (std::int64_t(pw) * bh + ph / 2) / ph);
    }
  }
  const auto left = static_cast<std::int32_t>(box.left + (bw - w) / 2);
  const auto top = static_cast<std::int32_t>(box.top + (bh - h) / 2);
  return Rect{left, top, static_cast<std::int32_t>(left + w), static_cast<std::int32_t>(top + h)};
}

}  // namespace

Picture pict_Load(const std::string& file_name) {
  const SrcLoc loc = SrcLoc::current();
  const Reading r = read_picture(file_name, 0, 0, true);
  switch (r.fault) {
    case pf_None: return r.picture;
    case pf_Missing: case pf_Unreadable: RUN_Error(errcode::kCannotOpenFile, loc);
    case pf_TooLarge: RUN_Error(errcode::kLayerMemory, loc);
    default: RUN_Error(errcode::kNotPicture, loc);
  }
}

std::optional<Picture> pict_TryLoad(const std::string& file_name, PictureFault& fault, int max_width,
                                    int max_height) {
  const Reading r = read_picture(file_name, max_width, max_height, true);
  fault = r.fault;
  if (r.fault != pf_None) return std::nullopt;
  return r.picture;
}

std::optional<Picture> pict_FromFileBytes(std::string_view file_bytes) {
  QByteArray bytes = QByteArray::fromRawData(file_bytes.data(), static_cast<qsizetype>(file_bytes.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const Reading r = read_device(buffer, 0, 0, true);
  if (r.fault == pf_TooLarge) RUN_Error(errcode::kLayerMemory);
  if (r.fault != pf_None) return std::nullopt;
  return r.picture;
}

bool pict_Check(const std::string& file_name, PictureFault& fault) {
  fault = read_picture(file_name, 0, 0, false).fault;
  return fault == pf_None;
}

std::vector<std::string> pict_Formats() {
  std::set<std::string> formats = {"bmp", "ico"};
  for (const QByteArray& f : QImageReader::supportedImageFormats()) {
    const std::string name = f.toLower().toStdString();
    if (!name.empty() && !excluded_format(name)) formats.insert(name);
  }
  return {formats.begin(), formats.end()};
}

std::string pict_FilePatterns() {
  std::string out;
  for (const std::string& f : pict_Formats()) {
    std::string upper = f;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (!out.empty()) out += ';';
    out += "*." + f + ";*." + upper;
  }
  return out;
}

Rect pict_FitRect(Picture pict, Rect box, bool enlarge) {
  const PictureEntry& e = checked_picture(pict);
  return fit_rect(e.image.width(), e.image.height(), box, enlarge);
}

Rect pict_DrawFit(Window win, Picture pict, Rect box, bool enlarge) {
  DrawTarget target(win);
  const PictureEntry& e = checked_picture(pict);
  const Rect r = fit_rect(e.image.width(), e.image.height(), box, enlarge);
  const QSize size(r.right - r.left, r.bottom - r.top);
  if (size.isEmpty()) return r;
  if (e.fitted.size() != size)
    e.fitted = size == e.image.size() ? e.image : e.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  target.painter().drawImage(QPoint(r.left, r.top), e.fitted);
  return r;
}

void pict_SavePng(Picture pict, const std::string& file_name) {
  const PictureEntry& e = checked_picture(pict);
  // An opaque picture is written without an alpha channel.
  const QImage& img = e.image;
  bool opaque = true;
  for (int y = 0; y < img.height() && opaque; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    opaque = std::all_of(row, row + img.width(), [](QRgb p) { return qAlpha(p) == 0xFF; });
  }
  const QImage shown = opaque ? QImage(img.constBits(), img.width(), img.height(), img.bytesPerLine(), QImage::Format_RGB32) : img;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !shown.save(&buffer, "PNG")) RUN_Error(errcode::kLayerMemory);
  RUN_ReplaceFile(file_name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

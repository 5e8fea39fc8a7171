// Pictures: the packed bitmap block, loading from bitmap and icon files and resources, drawing.
// A picture is a handle to a block in memory (information header, colour table, pixel rows
// bottom row first) that lives until pict_Destroy. Operations on a handle that is not a live
// picture are run-time error 6002 (the block cannot be locked).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layer/types.h"
#include "layer/window.h"

using Picture = std::uint32_t;

// Raster operations of the drawing operations (S source, D destination, P the window's brush);
// any other code is operation 0, which gives black.
enum RasterOp : int {
  rop_Blackness = 1,   // 0
  rop_Whiteness = 2,   // 1
  rop_DstInvert = 3,   // NOT D
  rop_MergeCopy = 4,   // S AND P
  rop_MergePaint = 5,  // NOT S OR D
  rop_NotSrcCopy = 6,  // NOT S
  rop_NotSrcErase = 7, // NOT (S OR D)
  rop_PatCopy = 8,     // P
  rop_PatInvert = 9,   // P XOR D
  rop_PatPaint = 10,   // P OR NOT S OR D
  rop_SrcAnd = 11,     // S AND D
  rop_SrcCopy = 12,    // S
  rop_SrcErase = 13,   // S AND NOT D
  rop_SrcInvert = 14,  // S XOR D
  rop_SrcPaint = 15    // S OR D
};

// Loads a picture file. A bitmap file ("BM": the block is everything after the 14-byte file
// header) and an icon file (the colour image of its first icon) are read by the layer itself;
// a file in any other format the toolkit reads (pict_Formats: PNG, JPEG, GIF's first frame,
// WebP, TIFF, …) becomes a 24-bit block, turned upright as its orientation tag says and with
// transparent parts laid on white. The name is cp1251. A file that cannot be opened is run-time
// error 6005; one in no readable format, short, damaged, or whose header, colour table or pixel
// rows do not fit its size is 6101; a picture too large for memory is 6002 (see pict_TryLoad
// for the same without a run-time error).
Picture pict_Load(const std::string& file_name);
// The picture of a file's bytes, decoded as pict_Load decodes a file (every format it reads);
// nothing when the bytes are in no readable format or do not fit their size (a picture too large for memory is
// 6002). For a program that reads the file itself and tells its user what is wrong with it.
std::optional<Picture> pict_FromFileBytes(std::string_view file_bytes);
// The picture from the program's bitmap resource `res_id` (missing: 6054).
Picture pict_GetFromRes(int res_id);
// Width and height in pixels from the header; `size` the block's size in bytes.
void pict_GetSize(Picture pict, int& width, int& height, int& size);
// The whole picture at its natural size with its top left corner at `at`.
void pict_Draw(Window win, Picture pict, Point at, int rop);
// The part `src` of the picture (y growing downwards from the picture's top) into `dest` of the
// window, stretched or shrunk by repeating or dropping whole rows and columns. A rectangle whose
// right is left of its left (or bottom above its top) mirrors the picture.
void pict_Draw(Window win, Picture pict, Rect dest, Rect src, int rop);
// The same with the choice of the picture's own palette; the window's surface holds true
// colours, so the picture's colours are drawn exactly either way.
void pict_DrawEx(Window win, Picture pict, Point at, int rop, bool use_palette);
void pict_DrawEx(Window win, Picture pict, Rect dest, Rect src, int rop, bool use_palette);
// Frees the block; a handle that is not a live picture is left alone.
void pict_Destroy(Picture pict);

// Why a file is no usable picture.
enum PictureFault : int {
  pf_None = 0,        // a usable picture
  pf_Missing = 1,     // no file of that name
  pf_Unreadable = 2,  // it exists but cannot be read (a folder, no permission, a read error)
  pf_NotPicture = 3,  // no readable picture format, or damaged
  pf_TooLarge = 4     // more pixels than memory allows for one picture
};

// Loads the file as pict_Load does, but fails with the reason instead of raising a run-time
// error (nothing is shown to the user). With `max_width` and `max_height` above 0, a picture
// larger than that is scaled down smoothly to fit inside, its aspect kept, while it is read
// (a large photograph then never takes its full size in memory).
std::optional<Picture> pict_TryLoad(const std::string& file_name, PictureFault& fault, int max_width = 0,
                                    int max_height = 0);
// Succeeds when pict_Load would load the file (its pixels are read, so a damaged file is found),
// and fails with the reason otherwise. Keeps nothing; shows nothing.
bool pict_Check(const std::string& file_name, PictureFault& fault);

// The file name extensions of every format pict_Load reads, in lower case and in order
// ("bmp", "gif", "ico", "jpeg", "jpg", "png", …, "tif", "tiff", "webp" where installed).
std::vector<std::string> pict_Formats();
// The same as a file chooser pattern, each extension in lower and upper case:
// "*.bmp;*.BMP;*.gif;*.GIF;…" (dlg_GetFileName).
std::string pict_FilePatterns();

// The rectangle of `box` that the picture takes when scaled to fit inside it with its aspect
// kept, centred; a picture smaller than the box keeps its size unless `enlarge`. Empty for an
// empty box.
Rect pict_FitRect(Picture pict, Rect box, bool enlarge);
// Draws the picture into pict_FitRect(pict, box, enlarge) of the window, scaled smoothly
// (averaging its pixels, not dropping them), and returns that rectangle. The rest of the box is
// left as it is.
Rect pict_DrawFit(Window win, Picture pict, Rect box, bool enlarge);

// Writes the picture as a PNG file (cp1251 name), replacing the file only when complete
// (RUN_ReplaceFile). A file that cannot be written raises 7000 + errno.
void pict_SavePng(Picture pict, const std::string& file_name);

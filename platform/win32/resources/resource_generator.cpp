// Build-time tool (runs on the build machine): draws the program's icon and Command2's picture
// and writes them as the raw resource data that the .rc file embeds.
//
// Usage: resource_generator OUTPUT_FOLDER
// Writes verdantix.ico (the icon as a file, 3774 bytes), icon_image.bin (its one image, the
// RT_ICON resource), icon_group.bin (the RT_GROUP_ICON directory naming that image) and
// command2.bmp (the 150 x 22 button picture, 256 colours).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kIconSize = 48;
constexpr int kPictureWidth = 150;
constexpr int kPictureHeight = 22;
constexpr int kIconImageId = 30001;
constexpr int kPaletteEntries = 256;
constexpr int kSubsamples = 4;

struct Colour {
  double red, green, blue;
};
// Every picture is drawn in two colours; a pixel's level (0 to 255) is the share of it that the
// emblem covers, and the palette holds the mixes of the two colours in order of level.
constexpr Colour kNavy = {0, 0, 64};
constexpr Colour kLight = {236, 214, 150};

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

/// A grey-level picture: 0 is navy, 255 the light colour.
struct Canvas {
  int width, height;
  std::vector<std::uint8_t> level;  // row 0 is the top row
  std::uint8_t At(int x, int y) const { return level[static_cast<std::size_t>(y * width + x)]; }
};

/// Fills each pixel with the share of its sub-samples that `inside` accepts.
void Paint(Canvas& canvas, const std::function<bool(double, double)>& inside) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
          if (inside(x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples)) ++hits;
        }
      }
      int level = (hits * 255 + kSubsamples * kSubsamples / 2) / (kSubsamples * kSubsamples);
      auto& pixel = canvas.level[static_cast<std::size_t>(y * canvas.width + x)];
      pixel = static_cast<std::uint8_t>(std::max<int>(pixel, level));
    }
  }
}

double SegmentDistance(double x, double y, double x0, double y0, double x1, double y1) {
  double dx = x1 - x0, dy = y1 - y0;
  double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
}

/// The emblem: a ring around a bold V, centred at (cx, cy), `radius` to the ring's middle.
void PaintEmblem(Canvas& canvas, double cx, double cy, double radius) {
  double ring = radius * 0.09;
  double stroke = radius * 0.17;
  Paint(canvas,
        [=](double x, double y) { return std::abs(std::hypot(x - cx, y - cy) - radius) <= ring; });
  double top = cy - radius * 0.48, bottom = cy + radius * 0.55, spread = radius * 0.5;
  Paint(canvas, [=](double x, double y) {
    return SegmentDistance(x, y, cx - spread, top, cx, bottom) <= stroke ||
           SegmentDistance(x, y, cx + spread, top, cx, bottom) <= stroke;
  });
}

/// 5 x 7 letters, one row a line, the leftmost pixel the highest of five bits.
struct Glyph {
  char letter;
  std::array<std::uint8_t, 7> rows;
};
constexpr std::array<Glyph, 9> kGlyphs = {{
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
}};
constexpr int kGlyphScale = 2;
constexpr int kGlyphAdvance = 6 * kGlyphScale;

void PaintText(Canvas& canvas, const std::string& text, int left, int top) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto glyph = std::find_if(kGlyphs.begin(), kGlyphs.end(),
                              [&](const Glyph& g) { return g.letter == text[i]; });
    int x0 = left + static_cast<int>(i) * kGlyphAdvance;
    for (int row = 0; row < 7; ++row) {
      for (int column = 0; column < 5; ++column) {
        if (((glyph->rows[static_cast<std::size_t>(row)] >> (4 - column)) & 1) == 0) continue;
        for (int d = 0; d < kGlyphScale * kGlyphScale; ++d) {
          int x = x0 + column * kGlyphScale + d % kGlyphScale;
          int y = top + row * kGlyphScale + d / kGlyphScale;
          canvas.level[static_cast<std::size_t>(y * canvas.width + x)] = 255;
        }
      }
    }
  }
}

/// The mixes of navy and the light colour, from `first` (navy) to entry 255 (light); entries
/// before `first` are black.
Bytes Palette(int first) {
  Bytes out(static_cast<std::size_t>(first) * 4, 0);
  for (int i = first; i < kPaletteEntries; ++i) {
    double share = (i - first) / (255.0 - first);
    auto mix = [share](double from, double to) {
      return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
    };
    out.push_back(mix(kNavy.blue, kLight.blue));
    out.push_back(mix(kNavy.green, kLight.green));
    out.push_back(mix(kNavy.red, kLight.red));
    out.push_back(0);
  }
  return out;
}

Bytes InfoHeader(int width, int height, std::uint32_t image_size) {
  Bytes out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);  // planes
  Put16(out, 8);  // bits per pixel
  Put32(out, 0);  // uncompressed
  Put32(out, image_size);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, kPaletteEntries);
  Put32(out, 0);
  return out;
}

/// Bottom-up rows of palette indexes, each padded to four bytes; `index` maps a pixel to its entry.
Bytes PixelRows(const Canvas& canvas, const std::function<std::uint8_t(int, int)>& index) {
  Bytes out;
  int padded = (canvas.width + 3) / 4 * 4;
  for (int y = canvas.height - 1; y >= 0; --y) {
    for (int x = 0; x < padded; ++x) out.push_back(x < canvas.width ? index(x, y) : 0);
  }
  return out;
}

/// The icon's shape: a square with rounded corners; outside it the icon is transparent.
bool InsideTile(int x, int y) {
  constexpr double kRadius = 9.0, kHigh = kIconSize - kRadius;
  double px = x + 0.5, py = y + 0.5;
  double cx = std::clamp(px, kRadius, kHigh), cy = std::clamp(py, kRadius, kHigh);
  return std::hypot(px - cx, py - cy) <= kRadius;
}

/// The 1-bit AND mask, bottom-up, rows padded to four bytes: 1 is transparent.
Bytes TransparencyMask() {
  Bytes out;
  constexpr int kRowBytes = (kIconSize / 8 + 3) / 4 * 4;
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kRowBytes; ++byte) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        int x = byte * 8 + bit;
        if (x >= kIconSize || !InsideTile(x, y)) bits |= static_cast<std::uint8_t>(0x80 >> bit);
      }
      out.push_back(bits);
    }
  }
  return out;
}

Bytes IconImage() {
  Canvas canvas{kIconSize, kIconSize, Bytes(kIconSize * kIconSize, 0)};
  PaintEmblem(canvas, kIconSize / 2.0, kIconSize / 2.0, 18.0);
  // Transparent pixels must be black in the colour image (the mask keeps the screen there and
  // the colour is XORed onto it), so entry 0 is black and the mixes use entries 1 to 255.
  Bytes pixels = PixelRows(canvas, [&canvas](int x, int y) {
    if (!InsideTile(x, y)) return std::uint8_t{0};
    return static_cast<std::uint8_t>(1 + canvas.At(x, y) * 254 / 255);
  });
  Bytes mask = TransparencyMask();
  Bytes palette = Palette(1);
  Bytes out =
      InfoHeader(kIconSize, 2 * kIconSize, static_cast<std::uint32_t>(pixels.size() + mask.size()));
  Append(out, palette);
  Append(out, pixels);
  Append(out, mask);
  return out;
}

/// The directory entry shared by the .ico file and the RT_GROUP_ICON resource, up to the size.
Bytes IconEntryStart(std::size_t image_size) {
  Bytes out = {kIconSize, kIconSize, 0, 0};  // 0 colours means 256
  Put16(out, 1);                             // planes
  Put16(out, 8);                             // bits per pixel
  Put32(out, static_cast<std::uint32_t>(image_size));
  return out;
}

Bytes IconDirectoryHeader() {
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);  // an icon
  Put16(out, 1);  // one image
  return out;
}

Bytes IconFile(const Bytes& image) {
  Bytes out = IconDirectoryHeader();
  Append(out, IconEntryStart(image.size()));
  Put32(out, 6 + 16);  // the image follows the one entry
  Append(out, image);
  return out;
}

Bytes IconGroup(const Bytes& image) {
  Bytes out = IconDirectoryHeader();
  Append(out, IconEntryStart(image.size()));
  Put16(out, kIconImageId);
  return out;
}

Bytes Command2Picture() {
  Canvas canvas{kPictureWidth, kPictureHeight, Bytes(kPictureWidth * kPictureHeight, 0)};
  const std::string text = "VERDANTIX";
  constexpr int kEmblemWidth = 20, kGap = 7;
  int text_width = static_cast<int>(text.size()) * kGlyphAdvance - kGlyphScale;
  int left = (kPictureWidth - kEmblemWidth - kGap - text_width) / 2;
  PaintEmblem(canvas, left + kEmblemWidth / 2.0, kPictureHeight / 2.0, 9.0);
  PaintText(canvas, text, left + kEmblemWidth + kGap, (kPictureHeight - 7 * kGlyphScale) / 2);
  Bytes pixels = PixelRows(canvas, [&canvas](int x, int y) { return canvas.At(x, y); });
  Bytes info = InfoHeader(kPictureWidth, kPictureHeight, static_cast<std::uint32_t>(pixels.size()));
  Bytes palette = Palette(0);
  constexpr std::uint32_t kHeaders = 14 + 40;
  std::uint32_t offset = kHeaders + static_cast<std::uint32_t>(palette.size());
  Bytes out = {'B', 'M'};
  Put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Append(out, info);
  Append(out, palette);
  Append(out, pixels);
  return out;
}

bool Write(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: resource_generator OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const Bytes image = IconImage();
  bool written = Write(folder + "/verdantix.ico", IconFile(image)) &&
                 Write(folder + "/icon_image.bin", image) &&
                 Write(folder + "/icon_group.bin", IconGroup(image)) &&
                 Write(folder + "/command2.bmp", Command2Picture());
  if (!written) std::fprintf(stderr, "resource_generator: cannot write into %s\n", argv[1]);
  return written ? 0 : 1;
}

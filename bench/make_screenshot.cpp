// Draws a deterministic, realistic screenshot as a binary PPM: a desktop with
// a photo-like wallpaper, an application window with toolbar, sidebar and
// anti-aliased text, and a terminal window.
//   make_screenshot WIDTH HEIGHT OUT.ppm
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Rgb {
  int r, g, b;
};

class Canvas {
 public:
  Canvas(int width, int height)
      : width_(width), height_(height), pixels_(std::size_t(width) * height * 3) {}

  void blend(int x, int y, Rgb c, int alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    std::uint8_t* p = &pixels_[(std::size_t(y) * width_ + x) * 3];
    p[0] = std::uint8_t((p[0] * (255 - alpha) + c.r * alpha) / 255);
    p[1] = std::uint8_t((p[1] * (255 - alpha) + c.g * alpha) / 255);
    p[2] = std::uint8_t((p[2] * (255 - alpha) + c.b * alpha) / 255);
  }
  void fill(int x0, int y0, int w, int h, Rgb c) {
    for (int y = std::max(0, y0); y < std::min(height_, y0 + h); ++y)
      for (int x = std::max(0, x0); x < std::min(width_, x0 + w); ++x) blend(x, y, c, 255);
  }
  // A vertical gradient, as title bars and buttons have.
  void gradient(int x0, int y0, int w, int h, Rgb top, Rgb bottom) {
    for (int y = 0; y < h; ++y) {
      const Rgb c{top.r + (bottom.r - top.r) * y / std::max(1, h - 1),
                  top.g + (bottom.g - top.g) * y / std::max(1, h - 1),
                  top.b + (bottom.b - top.b) * y / std::max(1, h - 1)};
      fill(x0, y0 + y, w, 1, c);
    }
  }
  void frame(int x0, int y0, int w, int h, Rgb c) {
    fill(x0, y0, w, 1, c);
    fill(x0, y0 + h - 1, w, 1, c);
    fill(x0, y0, 1, h, c);
    fill(x0 + w - 1, y0, 1, h, c);
  }
  // Pseudo glyphs from a 5x7 pattern per character, drawn at `size` pixels
  // per cell with soft (anti-aliased) edges like ClearType text.
  int text(int x, int y, const std::string& s, Rgb c, int size) {
    for (char ch : s) {
      if (ch != ' ') glyph(x, y, static_cast<unsigned char>(ch), c, size);
      x += 6 * size;
    }
    return x;
  }
  void writePpm(const char* path) const {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) std::exit(1);
    std::fprintf(f, "P6\n%d %d\n255\n", width_, height_);
    std::fwrite(pixels_.data(), 1, pixels_.size(), f);
    std::fclose(f);
  }
  std::vector<std::uint8_t>& pixels() { return pixels_; }

 private:
  void glyph(int x0, int y0, unsigned ch, Rgb c, int size) {
    std::uint32_t bits = ch * 2654435761u;
    bits ^= bits >> 13;
    bits *= 0x5bd1e995u;
    for (int gy = 0; gy < 7; ++gy) {
      for (int gx = 0; gx < 5; ++gx) {
        const bool on = ((bits >> ((gy * 5 + gx) % 31)) & 1) || (gx == 0 && gy > 1 && (ch & 1));
        if (!on) continue;
        for (int py = 0; py < size; ++py)
          for (int px = 0; px < size; ++px) blend(x0 + gx * size + px, y0 + gy * size + py, c, 255);
        // Soft right and bottom edges.
        for (int p = 0; p < size; ++p) {
          blend(x0 + gx * size + size, y0 + gy * size + p, c, 96);
          blend(x0 + gx * size + p, y0 + gy * size + size, c, 64);
        }
      }
    }
  }

  int width_, height_;
  std::vector<std::uint8_t> pixels_;
};

std::uint32_t noise(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

const char* const kWords[] = {"Datei",     "Bearbeiten", "Ansicht",        "Einstellungen",
                              "Speichern", "screenshot", "upload",         "image0042.gif",
                              "Ordner",    "Optionen",   "const",          "return",
                              "void",      "Klipora",    "Zwischenablage", "Farben"};

std::string sentence(std::uint32_t seed, int words) {
  std::string s;
  for (int i = 0; i < words; ++i) {
    if (i) s += ' ';
    s += kWords[noise(seed + i) % (sizeof kWords / sizeof *kWords)];
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_screenshot WIDTH HEIGHT OUT.ppm\n");
    return 2;
  }
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  const int s = std::max(1, width / 1920);  // UI scale
  Canvas canvas(width, height);

  // Wallpaper: a photo-like landscape of smooth gradients, waves and grain.
  auto& px = canvas.pixels();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = double(x) / width, v = double(y) / height;
      const double hill = 0.55 + 0.08 * std::sin(u * 9.0) + 0.05 * std::sin(u * 23.0 + 1.3);
      const int grain = int(noise(std::uint32_t(y) * 7919u + x) % 13) - 6;
      double r, g, b;
      if (v < hill) {  // sky with clouds
        const double cloud = std::max(0.0, std::sin(u * 14 + v * 5) * std::sin(u * 5 - v * 11));
        r = 90 + 110 * v + 120 * cloud;
        g = 140 + 80 * v + 100 * cloud;
        b = 220 - 20 * v + 30 * cloud;
      } else {  // meadow
        const double t = (v - hill) / (1 - hill);
        r = 60 + 70 * t + 25 * std::sin(x * 0.05 + y * 0.02);
        g = 120 - 30 * t + 20 * std::sin(x * 0.011);
        b = 40 + 20 * t;
      }
      std::uint8_t* p = &px[(std::size_t(y) * width + x) * 3];
      p[0] = std::uint8_t(std::clamp(int(r) + grain, 0, 255));
      p[1] = std::uint8_t(std::clamp(int(g) + grain, 0, 255));
      p[2] = std::uint8_t(std::clamp(int(b) + grain, 0, 255));
    }
  }

  // Application window with title bar, menu, toolbar, sidebar and a document.
  const int wx = width / 20, wy = height / 16, ww = width * 6 / 10, wh = height * 7 / 10;
  canvas.fill(wx + 6 * s, wy + 6 * s, ww, wh, {40, 40, 40});  // shadow
  canvas.fill(wx, wy, ww, wh, {240, 240, 240});
  canvas.gradient(wx, wy, ww, 30 * s, {0, 84, 166}, {0, 120, 215});
  canvas.text(wx + 10 * s, wy + 9 * s, "Klipora - Konfiguration", {255, 255, 255}, 2 * s);
  int mx = wx + 10 * s;
  for (int i = 0; i < 5; ++i)
    mx = canvas.text(mx, wy + 40 * s, kWords[i], {20, 20, 20}, s) + 14 * s;
  for (int i = 0; i < 12; ++i) {
    canvas.gradient(wx + (8 + i * 34) * s, wy + 60 * s, 28 * s, 28 * s, {250, 250, 250},
                    {200, 205, 215});
    canvas.frame(wx + (8 + i * 34) * s, wy + 60 * s, 28 * s, 28 * s, {150, 150, 160});
    canvas.fill(wx + (14 + i * 34) * s, wy + 66 * s, 16 * s, 16 * s,
                {int(noise(i) % 200), int(noise(i + 50) % 200), int(noise(i + 99) % 200)});
  }
  canvas.fill(wx, wy + 96 * s, 220 * s, wh - 96 * s, {228, 232, 238});
  for (int i = 0; i * 22 * s < wh - 110 * s; ++i) {
    if (i == 3) canvas.fill(wx, wy + (100 + i * 22) * s, 220 * s, 22 * s, {204, 228, 247});
    canvas.text(wx + 16 * s, wy + (106 + i * 22) * s, sentence(i * 31, 2), {30, 30, 30}, s);
  }
  canvas.fill(wx + 230 * s, wy + 100 * s, ww - 240 * s, wh - 110 * s, {255, 255, 255});
  for (int i = 0; (i + 1) * 18 * s < wh - 120 * s; ++i) {
    const Rgb ink = i % 7 == 0 ? Rgb{0, 102, 204} : Rgb{33, 33, 33};
    canvas.text(wx + 244 * s, wy + (110 + i * 18) * s,
                sentence(1000 + i * 17, 4 + int(noise(i) % 6)), ink, s);
  }

  // Terminal with coloured output on a dark background.
  const int tx = width * 45 / 100, ty = height * 42 / 100, tw = width * 52 / 100,
            th = height * 54 / 100;
  canvas.fill(tx, ty, tw, th, {30, 30, 30});
  canvas.gradient(tx, ty, tw, 24 * s, {60, 60, 60}, {45, 45, 45});
  canvas.text(tx + 8 * s, ty + 8 * s, "bash - build", {220, 220, 220}, s);
  const Rgb colours[] = {
      {204, 204, 204}, {78, 201, 176}, {220, 220, 170}, {86, 156, 214}, {244, 71, 71}};
  for (int i = 0; (i + 1) * 16 * s < th - 32 * s; ++i) {
    int x = canvas.text(tx + 8 * s, ty + (32 + i * 16) * s, "$", {106, 153, 85}, s);
    canvas.text(x + 6 * s, ty + (32 + i * 16) * s,
                sentence(5000 + i * 13, 3 + int(noise(i + 7) % 8)), colours[noise(i + 3) % 5], s);
  }

  // Taskbar.
  canvas.gradient(0, height - 40 * s, width, 40 * s, {32, 40, 52}, {20, 24, 32});
  for (int i = 0; i < 8; ++i)
    canvas.fill((60 + i * 48) * s, height - 32 * s, 32 * s, 24 * s,
                {70 + i * 20, 90, 160 - i * 10});
  canvas.text(width - 90 * s, height - 26 * s, "16:42", {230, 230, 230}, s);

  canvas.writePpm(argv[3]);
  return 0;
}

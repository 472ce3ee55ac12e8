#include "x_root_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <optional>
#include <vector>

#include "picture_decoder.h"
#include "pixel_packer.h"
#include "pixmap_writer.h"
#include "root_raster.h"
#include "x_error_trap.h"

namespace vellumo {
namespace {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

std::optional<Pixmap> ReadPixmapProperty(Display* display, Window root, const char* name) {
  Atom atom = XInternAtom(display, name, True);
  if (atom == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  int status = XGetWindowProperty(display, root, atom, 0, 1, False, XA_PIXMAP, &type, &format,
                                  &items, &remaining, &data);
  std::optional<Pixmap> pixmap;
  if (status == Success && type == XA_PIXMAP && format == 32 && items == 1 && data) {
    pixmap = static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data) XFree(data);
  return pixmap;
}

void WritePixmapProperty(Display* display, Window root, const char* name, Pixmap pixmap) {
  Atom atom = XInternAtom(display, name, False);
  // Format 32 property data is passed as an array of longs, whatever their size.
  unsigned long value = pixmap;
  XChangeProperty(display, root, atom, XA_PIXMAP, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&value), 1);
}

// A pixmap left by a setter that keeps its pixmap after it ends (ours included) is named by
// both properties; freeing it means ending the retained client that owns it. A pixmap named
// only by _XROOTPMAP_ID may belong to a program still running, so it is left alone.
void FreePreviousPixmap(Display* display, Window root, XErrorTrap& trap) {
  std::optional<Pixmap> root_pixmap = ReadPixmapProperty(display, root, "_XROOTPMAP_ID");
  std::optional<Pixmap> esetroot = ReadPixmapProperty(display, root, "ESETROOT_PMAP_ID");
  if (!root_pixmap || !esetroot || *root_pixmap != *esetroot || *root_pixmap == None) return;
  XKillClient(display, *root_pixmap);
  trap.Sync();  // its owner may already be gone: nothing left to free
}

// Draws the picture into a new pixmap as it decodes. Owns the pixmap until Release().
class RootPainter {
 public:
  RootPainter(Display* display, Layout layout)
      : display_(display),
        screen_(DefaultScreen(display)),
        root_(RootWindow(display, screen_)),
        visual_(DefaultVisual(display, screen_)),
        depth_(DefaultDepth(display, screen_)),
        layout_(layout),
        packer_(visual_->red_mask, visual_->green_mask, visual_->blue_mask) {}

  ~RootPainter() {
    writer_.reset();
    if (gc_) XFreeGC(display_, gc_);
    if (pixmap_ != None) XFreePixmap(display_, pixmap_);
  }

  bool IsTrueColor() const { return visual_->c_class == TrueColor; }
  Window root() const { return root_; }

  bool Begin(PixelSize picture) {
    PixelSize screen = {DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
    raster_.emplace(picture, screen, layout_);
    if (!raster_->fits()) return false;
    PixelSize size = raster_->pixmap_size();
    pixmap_ = XCreatePixmap(display_, root_, size.width, size.height, depth_);
    gc_ = XCreateGC(display_, pixmap_, 0, nullptr);
    if (raster_->needs_fill()) {
      XSetForeground(display_, gc_, BlackPixel(display_, screen_));
      XFillRectangle(display_, pixmap_, gc_, 0, 0, size.width, size.height);
    }
    int columns = static_cast<int>(raster_->source_columns().size());
    packed_.resize(columns);
    picture_width_ = picture.width;
    if (columns == 0) return true;  // centred far off screen: nothing of it shows
    writer_ = std::make_unique<PixmapWriter>(display_, pixmap_, gc_, visual_, depth_,
                                             raster_->first_column(), columns);
    return writer_->ok();
  }

  bool Row(int y, std::span<const uint8_t> bgr) {
    if (bgr.size() < 3 * static_cast<size_t>(picture_width_)) return false;
    RootRaster::Rows rows = raster_->TargetRows(y);
    if (rows.count == 0 || !writer_) return true;
    const std::vector<int>& columns = raster_->source_columns();
    for (size_t i = 0; i < columns.size(); ++i) {
      const uint8_t* pixel = &bgr[3 * static_cast<size_t>(columns[i])];
      packed_[i] = packer_.Pack(pixel[2], pixel[1], pixel[0]);
    }
    for (int i = 0; i < rows.count; ++i) writer_->PutRow(rows.first + i, packed_);
    return true;
  }

  void Finish() {
    if (writer_) writer_->Flush();
  }

  // Hands the pixmap over to the root window; it is no longer freed here.
  Pixmap Release() {
    Pixmap pixmap = pixmap_;
    pixmap_ = None;
    return pixmap;
  }

 private:
  Display* display_;
  int screen_;
  Window root_;
  Visual* visual_;
  int depth_;
  Layout layout_;
  PixelPacker packer_;
  std::optional<RootRaster> raster_;
  Pixmap pixmap_ = None;
  GC gc_ = nullptr;
  std::unique_ptr<PixmapWriter> writer_;
  std::vector<uint32_t> packed_;
  int picture_width_ = 0;
};

void ShowOnRoot(Display* display, Window root, Pixmap pixmap) {
  WritePixmapProperty(display, root, "_XROOTPMAP_ID", pixmap);
  WritePixmapProperty(display, root, "ESETROOT_PMAP_ID", pixmap);
  XSetWindowBackgroundPixmap(display, root, pixmap);
  XClearWindow(display, root);
}

}  // namespace

bool SetRootWindowPicture(const std::string& display_name, const std::string& path, Layout layout,
                          std::string& failure) {
  std::string where = "X root window on " + display_name + ": ";
  DisplayPtr display(XOpenDisplay(display_name.c_str()));
  if (!display) {
    failure = where + "cannot open the display";
    return false;
  }
  XErrorTrap trap(display.get());
  RootPainter painter(display.get(), layout);
  if (!painter.IsTrueColor()) {
    failure = where + "the screen is not TrueColor";
    return false;
  }
  bool sized = false;
  bool began = false;
  auto on_size = [&](PixelSize size) {
    sized = true;
    return began = painter.Begin(size);
  };
  auto on_row = [&](int y, std::span<const uint8_t> bgr) { return painter.Row(y, bgr); };
  std::optional<PixelSize> decoded = DecodeWallpaper(path, on_size, on_row);
  if (!decoded) {
    failure = where + (sized && !began ? "cannot make a background of " : "cannot read ") + path;
    return false;
  }
  painter.Finish();
  if (int error = trap.Sync(); error != Success) {
    failure = where + "the server refused the picture (X error " + std::to_string(error) + ")";
    return false;
  }
  FreePreviousPixmap(display.get(), painter.root(), trap);
  ShowOnRoot(display.get(), painter.root(), painter.Release());
  // Keep the pixmap when we disconnect: the root window and the properties still name it.
  XSetCloseDownMode(display.get(), RetainPermanent);
  if (int error = trap.Sync(); error != Success) {
    failure = where + "setting the background failed (X error " + std::to_string(error) + ")";
    return false;
  }
  return true;
}

}  // namespace vellumo

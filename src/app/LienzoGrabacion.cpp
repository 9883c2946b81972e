#include "app/LienzoGrabacion.h"

#include <QColor>
#include <QPointF>
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "app/Lienzo.h"

namespace qv {

void TCanvasRecording::Clear() {
  Ops.clear();
  Images.clear();
  Texts.clear();
  Polygons.clear();
}

int TCanvasRecording::AddImage(const QImage& image) {
  Images.push_back(image);
  return static_cast<int>(Images.size()) - 1;
}

int TCanvasRecording::AddText(const QString& text) {
  Texts.push_back(text);
  return static_cast<int>(Texts.size()) - 1;
}

int TCanvasRecording::AddPolygon(const std::vector<QPoint>& vertices) {
  Polygons.push_back(vertices);
  return static_cast<int>(Polygons.size()) - 1;
}

void ReplayRecording(const TCanvasRecording& r, TCanvas& target) {
  for (const TCanvasOp& op : r.Ops) {
    target.SetPenColor(QColor(op.Pen));
    target.SetPenWidth(op.PenWidth);
    target.SetBrushColor(QColor(op.Brush));
    switch (op.Kind) {
      case TCanvasOp::Line:
        target.MoveTo(op.X1, op.Y1);
        target.LineTo(op.X2, op.Y2);
        break;
      case TCanvasOp::Ellipse:
        target.Ellipse(op.X1, op.Y1, op.X2, op.Y2);
        break;
      case TCanvasOp::Polygon:
        target.Polygon(r.Polygons[op.Item]);
        break;
      case TCanvasOp::FillRect:
        target.FillRect(op.X1, op.Y1, op.X2, op.Y2);
        break;
      case TCanvasOp::FloodFill:
        target.FloodFill(op.X1, op.Y1, QColor(static_cast<QRgb>(op.X2)));
        break;
      case TCanvasOp::Draw:
        if (op.X2 > 0 && op.Y2 > 0) {
          target.Draw(QRectF(op.X1, op.Y1, op.X2, op.Y2), r.Images[op.Item]);
        } else {
          target.Draw(op.X1, op.Y1, r.Images[op.Item]);
        }
        break;
      case TCanvasOp::DrawAnd:
        target.DrawAnd(op.X1, op.Y1, r.Images[op.Item]);
        break;
      case TCanvasOp::Text:
        target.TextOut(op.X1, op.Y1, r.Texts[op.Item]);
        break;
    }
  }
}

namespace {

constexpr double kPictureCm = 12.0;

// Writes TikZ coordinates: canvas pixels scaled to centimetres, y turned upwards.
class TTikzWriter {
 public:
  TTikzWriter(int width, int height)
      : height_(height), scale_(kPictureCm / std::max({width, height, 1})) {}

  std::string Point(double x, double y) const {
    char text[64];
    std::snprintf(text, sizeof text, "(%.3f,%.3f)", x * scale_, (height_ - y) * scale_);
    return text;
  }
  std::string Length(double pixels) const { return Number(pixels * scale_) + "cm"; }
  // The name of the colour, defined once in the preamble of the picture.
  std::string Colour(QRgb rgb) {
    rgb &= 0xFFFFFFu;
    auto [it, added] = colours_.emplace(rgb, "qv" + std::to_string(colours_.size()));
    return it->second;
  }
  std::string Definitions() const {
    std::string out;
    for (const auto& [rgb, name] : colours_) {
      out += "\\definecolor{" + name + "}{RGB}{" + std::to_string(qRed(rgb)) + "," +
             std::to_string(qGreen(rgb)) + "," + std::to_string(qBlue(rgb)) + "}\n";
    }
    return out;
  }

 private:
  static std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
  }
  int height_;
  double scale_;
  std::map<QRgb, std::string> colours_;
};

// The picture's rectangle in canvas pixels, [0, width] x [0, height]. Everything written is cut
// to it: TeX refuses lengths beyond about 575 cm, and a point far off the canvas (at +-2^31)
// would otherwise give coordinates of millions of centimetres. A stroke is cut to the rectangle
// grown by half its pen, which its ink may reach into from outside; the picture's clip takes
// the rest.
struct TPictureBox {
  double Width, Height;

  // A coordinate known to lie in [lo, hi] up to rounding, put exactly there (never -0).
  static double Inside(double v, double hi, double lo = 0.0) { return std::clamp(v, lo, hi) + 0.0; }

  // Liang-Barsky: the part of the segment inside the box grown by margin, in doubles; false when
  // none is.
  bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double margin) const {
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + margin, Width + margin - x1, y1 + margin, Height + margin - y1};
    double enter = 0.0, leave = 1.0;
    for (int k = 0; k < 4; ++k) {
      if (p[k] == 0.0) {
        if (q[k] < 0.0) return false;  // parallel to this side and outside it
        continue;
      }
      const double t = q[k] / p[k];
      if (p[k] < 0.0) enter = std::max(enter, t);
      if (p[k] > 0.0) leave = std::min(leave, t);
    }
    if (enter > leave) return false;
    const double ox = x1, oy = y1;
    x1 = Inside(ox + enter * dx, Width + margin, -margin);
    y1 = Inside(oy + enter * dy, Height + margin, -margin);
    x2 = Inside(ox + leave * dx, Width + margin, -margin);
    y2 = Inside(oy + leave * dy, Height + margin, -margin);
    return true;
  }

  // Sutherland-Hodgman: the polygon cut by each side of the box in turn.
  std::vector<QPointF> ClipPolygon(const std::vector<QPoint>& polygon) const {
    std::vector<QPointF> v(polygon.begin(), polygon.end());
    auto cut = [&v](auto inside, auto cross) {
      std::vector<QPointF> kept;
      for (size_t i = 0; i < v.size(); ++i) {
        const QPointF a = v[i], b = v[(i + 1) % v.size()];
        if (inside(a)) kept.push_back(a);
        if (inside(a) != inside(b)) kept.push_back(cross(a, b));
      }
      v = std::move(kept);
    };
    auto atX = [](double x) {
      return [x](QPointF a, QPointF b) {
        return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
      };
    };
    auto atY = [](double y) {
      return [y](QPointF a, QPointF b) {
        return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
      };
    };
    cut([](QPointF a) { return a.x() >= 0.0; }, atX(0.0));
    cut([this](QPointF a) { return a.x() <= Width; }, atX(Width));
    cut([](QPointF a) { return a.y() >= 0.0; }, atY(0.0));
    cut([this](QPointF a) { return a.y() <= Height; }, atY(Height));
    for (QPointF& a : v) a = QPointF(Inside(a.x(), Width), Inside(a.y(), Height));
    return v;
  }

  // True when the box from (x1, y1) to (x2, y2), grown by margin, meets the picture.
  bool Meets(double x1, double y1, double x2, double y2, double margin = 0.0) const {
    return std::max(x1, x2) + margin >= 0.0 && std::min(x1, x2) - margin <= Width &&
           std::max(y1, y2) + margin >= 0.0 && std::min(y1, y2) - margin <= Height;
  }
};

// TeX's special characters in a label, made printable.
std::string TexEscaped(const QString& text) {
  std::string out;
  for (char c : text.toStdString()) {
    if (std::string("#$%&_{}").find(c) != std::string::npos) {
      out += '\\';
      out += c;
    } else if (c == '\\' || c == '^' || c == '~') {
      out += "{\\char" + std::to_string(static_cast<int>(c)) + "}";
    } else {
      out += c;
    }
  }
  return out;
}

// One TikZ statement per operation, cut to the picture; consecutive segments with one pen join
// into one path. A disc keeps its centre, at most its radius and half its pen outside.
std::string TikzBody(const TCanvasRecording& r, TTikzWriter& w, const TPictureBox& box) {
  std::ostringstream body;
  const TCanvasOp* open = nullptr;  // the last segment of the path being written
  double openX = 0.0, openY = 0.0;  // where its visible part ends
  auto closePath = [&] {
    if (open != nullptr) body << ";\n";
    open = nullptr;
  };
  for (const TCanvasOp& op : r.Ops) {
    const std::string pen = "draw=" + w.Colour(op.Pen) + ",line width=" + w.Length(op.PenWidth);
    if (op.Kind == TCanvasOp::Line) {
      double x1 = op.X1, y1 = op.Y1, x2 = op.X2, y2 = op.Y2;
      if (!box.ClipSegment(x1, y1, x2, y2, op.PenWidth / 2.0)) continue;
      const bool joins = open != nullptr && openX == x1 && openY == y1 && open->Pen == op.Pen &&
                         open->PenWidth == op.PenWidth;
      if (!joins) {
        closePath();
        body << "\\draw[" << pen << ",line cap=round,line join=round] " << w.Point(x1, y1);
      }
      body << " -- " << w.Point(x2, y2);
      open = &op;
      openX = x2;
      openY = y2;
      continue;
    }
    closePath();
    if (op.Kind == TCanvasOp::Ellipse && box.Meets(op.X1, op.Y1, op.X2, op.Y2, op.PenWidth / 2.0)) {
      body << "\\filldraw[" << pen << ",fill=" << w.Colour(op.Brush) << "] "
           << w.Point((op.X1 + op.X2) / 2.0, (op.Y1 + op.Y2) / 2.0) << " ellipse ["
           << "x radius=" << w.Length((op.X2 - op.X1 - 1) / 2.0)
           << ",y radius=" << w.Length((op.Y2 - op.Y1 - 1) / 2.0) << "];\n";
    } else if (op.Kind == TCanvasOp::Polygon) {
      const std::vector<QPointF> visible = box.ClipPolygon(r.Polygons[op.Item]);
      if (visible.size() < 3) continue;
      body << "\\filldraw[" << pen << ",fill=" << w.Colour(op.Brush) << "]";
      for (const QPointF& v : visible) body << " " << w.Point(v.x(), v.y()) << " --";
      body << " cycle;\n";
    } else if (op.Kind == TCanvasOp::FillRect && (op.Brush & 0xFFFFFFu) != 0xFFFFFFu &&
               box.Meets(op.X1, op.Y1, op.X2, op.Y2)) {
      body << "\\fill[" << w.Colour(op.Brush) << "] "
           << w.Point(TPictureBox::Inside(op.X1, box.Width), TPictureBox::Inside(op.Y1, box.Height))
           << " rectangle "
           << w.Point(TPictureBox::Inside(op.X2, box.Width), TPictureBox::Inside(op.Y2, box.Height))
           << ";\n";
    } else if (op.Kind == TCanvasOp::Text && box.Meets(op.X1, op.Y1, op.X1, op.Y1)) {
      body << "\\node[anchor=north west,inner sep=0pt,text=" << w.Colour(op.Pen) << "] at "
           << w.Point(op.X1, op.Y1) << " {\\tiny " << TexEscaped(r.Texts[op.Item]) << "};\n";
    }
  }
  closePath();
  return body.str();
}

}  // namespace

std::string TikzPicture(const TCanvasRecording& recording, int width, int height) {
  TTikzWriter writer(width, height);
  const std::string body = TikzBody(
      recording, writer, TPictureBox{double(std::max(width, 0)), double(std::max(height, 0))});
  return "% Quilvaron drawing, " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels; needs \\usepackage{tikz}\n" + writer.Definitions() +
         "\\begin{tikzpicture}\n\\clip " + writer.Point(0, height) + " rectangle " +
         writer.Point(width, 0) + ";\n" + body + "\\end{tikzpicture}\n";
}

}  // namespace qv

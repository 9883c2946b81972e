#include "app/LienzoGrabacion.h"

#include <QColor>
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

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

// One TikZ statement per operation; consecutive segments with one pen join into one path.
std::string TikzBody(const TCanvasRecording& r, TTikzWriter& w) {
  std::ostringstream body;
  const TCanvasOp* open = nullptr;  // the last segment of the path being written
  auto closePath = [&] {
    if (open != nullptr) body << ";\n";
    open = nullptr;
  };
  for (const TCanvasOp& op : r.Ops) {
    const std::string pen = "draw=" + w.Colour(op.Pen) + ",line width=" + w.Length(op.PenWidth);
    if (op.Kind == TCanvasOp::Line) {
      const bool joins = open != nullptr && open->X2 == op.X1 && open->Y2 == op.Y1 &&
                         open->Pen == op.Pen && open->PenWidth == op.PenWidth;
      if (!joins) {
        closePath();
        body << "\\draw[" << pen << ",line cap=round,line join=round] " << w.Point(op.X1, op.Y1);
      }
      body << " -- " << w.Point(op.X2, op.Y2);
      open = &op;
      continue;
    }
    closePath();
    if (op.Kind == TCanvasOp::Ellipse) {
      body << "\\filldraw[" << pen << ",fill=" << w.Colour(op.Brush) << "] "
           << w.Point((op.X1 + op.X2) / 2.0, (op.Y1 + op.Y2) / 2.0) << " ellipse ["
           << "x radius=" << w.Length((op.X2 - op.X1 - 1) / 2.0)
           << ",y radius=" << w.Length((op.Y2 - op.Y1 - 1) / 2.0) << "];\n";
    } else if (op.Kind == TCanvasOp::Polygon) {
      body << "\\filldraw[" << pen << ",fill=" << w.Colour(op.Brush) << "]";
      for (const QPoint& v : r.Polygons[op.Item]) body << " " << w.Point(v.x(), v.y()) << " --";
      body << " cycle;\n";
    } else if (op.Kind == TCanvasOp::FillRect && (op.Brush & 0xFFFFFFu) != 0xFFFFFFu) {
      body << "\\fill[" << w.Colour(op.Brush) << "] " << w.Point(op.X1, op.Y1) << " rectangle "
           << w.Point(op.X2, op.Y2) << ";\n";
    } else if (op.Kind == TCanvasOp::Text) {
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
  const std::string body = TikzBody(recording, writer);
  return "% Quilvaron drawing, " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels; needs \\usepackage{tikz}\n" + writer.Definitions() +
         "\\begin{tikzpicture}\n\\clip " + writer.Point(0, height) + " rectangle " +
         writer.Point(width, 0) + ";\n" + body + "\\end{tikzpicture}\n";
}

}  // namespace qv

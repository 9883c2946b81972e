#include "app/Iconos.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <array>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

// One palette for every image, so that the toolbar reads as a set.
const QColor kInk(48, 48, 56);
const QColor kPoint(220, 40, 40);
const QColor kSelected(40, 190, 60);
const QColor kBlue(40, 110, 190);
const QColor kPale(205, 225, 245);
const QColor kPaper(250, 250, 245);
const QColor kGreen(30, 140, 60);
const QColor kGold(235, 180, 40);

void Dot(QPainter& p, QPointF c, const QColor& fill, double r = 3.2) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(fill);
  p.drawEllipse(c, r, r);
}

void Line(QPainter& p, QPointF a, QPointF b, const QColor& c, double w = 1.6) {
  p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(a, b);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double w = 2.0) {
  Line(p, from, to, c, w);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  const double h = 5.0;
  QPolygonF head;
  head << to << QPointF(to.x() - h * std::cos(a - 0.5), to.y() - h * std::sin(a - 0.5))
       << QPointF(to.x() - h * std::cos(a + 0.5), to.y() - h * std::sin(a + 0.5));
  p.setPen(QPen(c, 1.0));
  p.setBrush(c);
  p.drawPolygon(head);
}

void Folder(QPainter& p) {
  p.setPen(QPen(kInk, 1.3));
  p.setBrush(kGold);
  QPolygonF back;
  back << QPointF(3, 9) << QPointF(11, 9) << QPointF(13, 12) << QPointF(27, 12) << QPointF(27, 26)
       << QPointF(3, 26);
  p.drawPolygon(back);
  p.setBrush(QColor(250, 210, 100));
  QPolygonF front;
  front << QPointF(3, 26) << QPointF(8, 16) << QPointF(30, 16) << QPointF(26, 26);
  p.drawPolygon(front);
}

void Disk(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 1.3));
  p.setBrush(kBlue);
  p.drawRoundedRect(r, 2, 2);
  p.setBrush(kPaper);
  p.drawRect(
      QRectF(r.left() + r.width() * 0.22, r.top() + 1.5, r.width() * 0.56, r.height() * 0.36));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(r.left() + r.width() * 0.25, r.bottom() - r.height() * 0.38, r.width() * 0.5,
                    r.height() * 0.38));
}

void Picture(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 1.3));
  p.setBrush(kPale);
  p.drawRect(r);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  QPolygonF hills;
  hills << QPointF(r.left() + 1, r.bottom())
        << QPointF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45)
        << QPointF(r.left() + r.width() * 0.6, r.bottom() - r.height() * 0.3)
        << QPointF(r.left() + r.width() * 0.8, r.top() + r.height() * 0.55)
        << QPointF(r.right(), r.bottom());
  p.drawPolygon(hills);
  p.setBrush(kGold);
  p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28), 2.5, 2.5);
}

// A hooked arrow over a point: from the lower right, over the top, pointing down to the left
// (undo); mirrored for redo.
void HookedArrow(QPainter& p, bool mirrored) {
  if (mirrored) {
    p.translate(32, 0);
    p.scale(-1, 1);
  }
  QPainterPath hook(QPointF(27, 27));
  hook.cubicTo(QPointF(31, 15), QPointF(24, 6), QPointF(15, 7));
  hook.cubicTo(QPointF(10, 7.5), QPointF(7, 10), QPointF(6, 14));
  p.setPen(QPen(kBlue, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(hook);
  p.setPen(QPen(kBlue, 1.0));
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF() << QPointF(1, 12) << QPointF(11, 12) << QPointF(6, 20));
  Dot(p, QPointF(17, 24), kPoint, 3.0);
}

// A pseudo-triangle: three convex corners joined by chains bending inwards.
QPainterPath PseudoTriangle(QPointF a, QPointF b, QPointF c) {
  QPainterPath path(a);
  const QPointF m((a.x() + b.x() + c.x()) / 3, (a.y() + b.y() + c.y()) / 3);
  auto towards = [&](QPointF u, QPointF v) {
    const QPointF mid((u.x() + v.x()) / 2, (u.y() + v.y()) / 2);
    return QPointF(mid.x() + (m.x() - mid.x()) * 0.55, mid.y() + (m.y() - mid.y()) * 0.55);
  };
  path.quadTo(towards(a, b), b);
  path.quadTo(towards(b, c), c);
  path.quadTo(towards(c, a), a);
  return path;
}

void DrawImage(QPainter& p, int index) {
  switch (index) {
    case kImgCargar:
      Folder(p);
      Dot(p, QPointF(14, 21), kPoint, 2.2);
      Dot(p, QPointF(21, 20), kPoint, 2.2);
      Arrow(p, QPointF(22, 9), QPointF(22, 2), kBlue, 2.0);
      break;
    case kImgGuardar:
      Disk(p, QRectF(4, 4, 24, 24));
      Dot(p, QPointF(13, 9), kPoint, 1.8);
      Dot(p, QPointF(19, 10), kPoint, 1.8);
      break;
    case kImgPunto:
      Dot(p, QPointF(13, 18), kPoint, 6);
      Line(p, QPointF(24, 3), QPointF(24, 13), kInk, 2.2);
      Line(p, QPointF(19, 8), QPointF(29, 8), kInk, 2.2);
      break;
    case kImgMover:
      Arrow(p, QPointF(16, 16), QPointF(16, 2), kBlue);
      Arrow(p, QPointF(16, 16), QPointF(16, 30), kBlue);
      Arrow(p, QPointF(16, 16), QPointF(2, 16), kBlue);
      Arrow(p, QPointF(16, 16), QPointF(30, 16), kBlue);
      Dot(p, QPointF(16, 16), kPoint, 5);
      break;
    case kImgBorrar:
      Dot(p, QPointF(13, 18), kPoint, 6);
      Line(p, QPointF(20, 3), QPointF(29, 12), QColor(200, 0, 0), 2.6);
      Line(p, QPointF(29, 3), QPointF(20, 12), QColor(200, 0, 0), 2.6);
      break;
    case kImgUnir: {
      const std::array<QPointF, 5> v{QPointF(5, 24), QPointF(9, 6), QPointF(20, 12), QPointF(27, 4),
                                     QPointF(26, 27)};
      for (size_t i = 0; i < v.size(); ++i) Line(p, v[i], v[(i + 1) % v.size()], kInk, 1.6);
      for (size_t i = 0; i < v.size(); ++i) Dot(p, v[i], i == 0 ? kSelected : kPoint, 2.6);
      break;
    }
    case kImgRejilla:
      p.setPen(QPen(QColor(150, 150, 150), 1.2));
      for (int k = 6; k <= 26; k += 5) {
        p.drawLine(QPointF(k, 3), QPointF(k, 29));
        p.drawLine(QPointF(3, k), QPointF(29, k));
      }
      Dot(p, QPointF(11, 11), kPoint, 2.5);
      Dot(p, QPointF(21, 21), kPoint, 2.5);
      break;
    case kImgLimpiar:
      p.setPen(QPen(kInk, 1.3));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5, 3, 18, 24));
      Line(p, QPointF(30, 10), QPointF(17, 25), QColor(140, 90, 40), 2.4);
      p.setPen(QPen(kInk, 1.0));
      p.setBrush(kGold);
      p.drawPolygon(QPolygonF() << QPointF(14, 22) << QPointF(20, 27) << QPointF(15, 31)
                                << QPointF(9, 29));
      break;
    case kImgColores: {
      p.setPen(QPen(kInk, 1.3));
      p.setBrush(kPaper);
      p.drawEllipse(QRectF(3, 5, 26, 22));
      const std::array<QColor, 4> c{kPoint, kSelected, kBlue, kGold};
      const std::array<QPointF, 4> at{QPointF(10, 12), QPointF(17, 10), QPointF(23, 14),
                                      QPointF(11, 20)};
      for (size_t i = 0; i < c.size(); ++i) Dot(p, at[i], c[i], 2.8);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(20, 21), 2.6, 2.6);
      break;
    }
    case kImgCargarFondo:
      Picture(p, QRectF(3, 8, 24, 20));
      Arrow(p, QPointF(27, 12), QPointF(27, 2), kBlue, 2.0);
      break;
    case kImgGuardarFondo:
      Picture(p, QRectF(3, 3, 22, 18));
      Disk(p, QRectF(17, 16, 13, 13));
      break;
    case kImgBarrido:
      p.setPen(Qt::NoPen);
      p.setBrush(kPale);
      p.drawPath(PseudoTriangle(QPointF(3, 27), QPointF(10, 4), QPointF(17, 26)));
      p.setPen(QPen(kInk, 1.3));
      p.setBrush(Qt::NoBrush);
      p.drawPath(PseudoTriangle(QPointF(3, 27), QPointF(10, 4), QPointF(17, 26)));
      p.setPen(QPen(kBlue, 1.8, Qt::DashLine));
      p.drawLine(QPointF(22, 2), QPointF(22, 30));
      Arrow(p, QPointF(23, 16), QPointF(31, 16), kBlue, 1.8);
      break;
    case kImgCapas: {
      auto ring = [&](double r, const QColor& c) {
        QPolygonF poly;
        for (int i = 0; i < 6; ++i) {
          const double a = std::numbers::pi / 3 * i + 0.3;
          poly << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
        }
        p.setPen(QPen(c, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(poly);
      };
      ring(14, QColor(220, 0, 0));
      ring(8.5, QColor(220, 0, 0));
      Line(p, QPointF(16 + 14 * std::cos(0.3), 16 + 14 * std::sin(0.3)),
           QPointF(16 + 8.5 * std::cos(0.3), 16 + 8.5 * std::sin(0.3)), kGreen, 1.6);
      ring(3.5, QColor(220, 0, 0));
      break;
    }
    case kImgRemover: {
      const QPointF a(3, 27), b(16, 3), c(29, 27), m(16, 19);
      for (auto [u, v] : std::array<std::pair<QPointF, QPointF>, 3>{{{a, b}, {b, c}, {c, a}}}) {
        Line(p, u, v, kInk, 1.5);
      }
      Line(p, a, m, kInk, 1.5);
      Line(p, c, m, kInk, 1.5);
      p.setPen(QPen(QColor(150, 150, 150), 1.3, Qt::DotLine));
      p.drawLine(b, m);
      Line(p, QPointF(12, 9), QPointF(20, 15), QColor(200, 0, 0), 2.4);
      Line(p, QPointF(20, 9), QPointF(12, 15), QColor(200, 0, 0), 2.4);
      break;
    }
    case kImgIncrementalF:
    case kImgIncrementalV: {
      p.setPen(QPen(kInk, 1.4));
      p.setBrush(index == kImgIncrementalF ? kPale : Qt::NoBrush);
      p.drawPath(PseudoTriangle(QPointF(2, 28), QPointF(12, 4), QPointF(22, 28)));
      Dot(p, QPointF(12, 4), kPoint, 2.2);
      Dot(p, QPointF(2, 28), kPoint, 2.2);
      Dot(p, QPointF(22, 28), kPoint, 2.2);
      QFont f = p.font();
      f.setPixelSize(13);
      f.setBold(true);
      p.setFont(f);
      p.setPen(kBlue);
      p.drawText(QRectF(19, 1, 13, 15), Qt::AlignCenter,
                 index == kImgIncrementalF ? QStringLiteral("F") : QStringLiteral("V"));
      if (index == kImgIncrementalV) {
        for (double a : {0.9, 1.6, 2.3}) {
          Line(p, QPointF(12, 17), QPointF(12 + 8 * std::cos(a), 17 + 8 * std::sin(a)), kBlue, 1.3);
        }
        Dot(p, QPointF(12, 17), kSelected, 2.4);
      }
      break;
    }
    case kImgCaminos: {
      const std::array<QPointF, 6> v{QPointF(3, 26), QPointF(6, 5),   QPointF(16, 14),
                                     QPointF(28, 3), QPointF(29, 28), QPointF(16, 22)};
      for (size_t i = 0; i < v.size(); ++i) Line(p, v[i], v[(i + 1) % v.size()], kInk, 1.5);
      QPainterPath geodesic(v[1]);
      geodesic.lineTo(v[2]);
      geodesic.lineTo(v[4]);
      p.setPen(QPen(kPoint, 1.8));
      p.setBrush(Qt::NoBrush);
      p.drawPath(geodesic);
      for (const QPointF& q : v) Dot(p, q, kPoint, 2.0);
      break;
    }
    case kImgBrujula:
      p.setPen(QPen(kInk, 1.3));
      p.setBrush(QColor(166, 202, 240));
      p.drawEllipse(QRectF(2, 2, 28, 28));
      p.setBrush(kInk);
      p.drawPolygon(QPolygonF() << QPointF(28, 16) << QPointF(8, 7) << QPointF(16, 16)
                                << QPointF(8, 25));
      break;
    case kImgAleatoria: {
      const std::array<QPointF, 9> at{QPointF(6, 8),   QPointF(14, 5),  QPointF(25, 7),
                                      QPointF(10, 16), QPointF(19, 15), QPointF(27, 19),
                                      QPointF(5, 25),  QPointF(16, 26), QPointF(24, 28)};
      for (const QPointF& q : at) Dot(p, q, kPoint, 2.3);
      break;
    }
    case kImgStat:
      p.setPen(QPen(kInk, 1.3));
      p.drawLine(QPointF(3, 3), QPointF(3, 29));
      p.drawLine(QPointF(3, 29), QPointF(30, 29));
      p.setBrush(kBlue);
      p.drawRect(QRectF(7, 17, 5, 12));
      p.setBrush(kGreen);
      p.drawRect(QRectF(14, 9, 5, 20));
      p.setBrush(kPoint);
      p.drawRect(QRectF(21, 13, 5, 16));
      break;
    case kImgEjecutar:
      p.setPen(QPen(QColor(20, 100, 40), 1.4));
      p.setBrush(QColor(50, 170, 70));
      p.drawPolygon(QPolygonF() << QPointF(8, 4) << QPointF(28, 16) << QPointF(8, 28));
      break;
    case kImgFlip: {
      // A quadrilateral whose old diagonal (dashed) turns into the new one (solid).
      const QPointF a(4, 16), b(16, 4), c(28, 16), d(16, 28);
      p.setPen(QPen(kInk, 1.4));
      p.setBrush(kPale);
      p.drawPolygon(QPolygonF() << a << b << c << d);
      p.setPen(QPen(kInk, 1.4, Qt::DashLine));
      p.drawLine(a, c);
      Line(p, b, d, kPoint, 2.2);
      Arrow(p, QPointF(24, 5), QPointF(29, 10), kBlue, 1.6);
      for (const QPointF& q : {a, b, c, d}) Dot(p, q, kPoint, 2.2);
      break;
    }
    case kImgDeshacer:
    case kImgRehacer:
      HookedArrow(p, index == kImgRehacer);
      break;
    default:
      break;
  }
}

}  // namespace

QImage ToolbarImage(int index) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  DrawImage(p, index);
  return image;
}

QIcon ToolbarIcon(int index) {
  return QIcon(QPixmap::fromImage(ToolbarImage(index)));
}

QIcon WindowIcon() {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1.6));
  p.setBrush(kPale);
  p.drawPath(PseudoTriangle(QPointF(2, 29), QPointF(16, 2), QPointF(30, 29)));
  Dot(p, QPointF(16, 2.8), kPoint, 2.4);
  Dot(p, QPointF(2.8, 28.5), kPoint, 2.4);
  Dot(p, QPointF(29.2, 28.5), kPoint, 2.4);
  p.end();
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace qv

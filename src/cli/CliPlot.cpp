#include "cli/CliPlot.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>
#include <QValueAxis>

#include <QtCharts/QChart>
#include <algorithm>
#include <iterator>
#include <map>
#include "cli/ImageExport.h"

#include "geometry/UserError.h"

namespace qv::cli {
namespace {

constexpr int kChartWidth = 760;
constexpr int kChartHeight = 480;

// One colour per method, told apart also in print.
const QColor kLineColours[] = {{31, 119, 180},  {255, 127, 14},  {44, 160, 44},
                               {214, 39, 40},   {148, 103, 189}, {140, 86, 75},
                               {227, 119, 194}, {127, 127, 127}, {188, 189, 34}};

// One line per method through its mean of figure k at each size, on a logarithmic n axis.
QChart* FigureChart(const std::vector<TSummaryRow>& summary, size_t k, const QString& title,
                    const char* format) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->legend()->setAlignment(Qt::AlignRight);
  auto* axisX = new QLogValueAxis;
  axisX->setTitleText(QStringLiteral("n (points)"));
  axisX->setLabelFormat(QStringLiteral("%g"));
  auto* axisY = new QValueAxis;
  axisY->setTitleText(title);
  axisY->setLabelFormat(QString::fromLatin1(format));
  chart->addAxis(axisX, Qt::AlignBottom);
  chart->addAxis(axisY, Qt::AlignLeft);
  std::map<std::string, QLineSeries*> lines;
  double low = 0.0, high = 1.0;
  int nLow = 1, nHigh = 10;
  bool first = true;
  for (const TSummaryRow& s : summary) {
    if (s.Finished == 0) continue;
    QLineSeries*& line = lines[s.Method];
    if (line == nullptr) {
      line = new QLineSeries;
      line->setName(QString::fromStdString(s.Method));
      const size_t index = lines.size() - 1;  // this line is already counted
      QPen pen(kLineColours[index % std::size(kLineColours)], 2);
      pen.setStyle(index % 2 == 0 ? Qt::SolidLine : Qt::DashLine);
      line->setPen(pen);
      chart->addSeries(line);
      line->attachAxis(axisX);
      line->attachAxis(axisY);
    }
    const double mean = s.Figures[k].Mean;
    line->append(s.N, mean);
    low = first ? mean : std::min(low, mean);
    high = first ? mean : std::max(high, mean);
    nLow = first ? s.N : std::min(nLow, s.N);
    nHigh = first ? s.N : std::max(nHigh, s.N);
    first = false;
  }
  axisX->setRange(nLow, std::max(nHigh, nLow * 10));
  axisY->setRange(0.0, high > 0.0 ? high * 1.05 : 1.0);
  chart->resize(kChartWidth, kChartHeight);
  return chart;
}

// The type a plot's file name asks for: its extension in lower case, "svg" for "-".
QString PlotType(const std::string& fileName) {
  if (fileName == "-") return QStringLiteral("svg");
  return QFileInfo(QString::fromStdString(fileName)).suffix().toLower();
}

std::string SvgText(QGraphicsScene& scene, const QRectF& area) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(area.size().toSize());
  generator.setViewBox(area);
  generator.setTitle(QStringLiteral("Quilvaron experiment"));
  {
    QPainter painter(&generator);
    scene.render(&painter, area, area);
  }
  return buffer.data().toStdString();
}

std::string PngBytes(QGraphicsScene& scene, const QRectF& area) {
  QImage image(area.size().toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), area);
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw UserError("The plot could not be encoded as PNG.");
  return buffer.data().toStdString();
}

// One page of the chart's size, a pixel to a point.
std::string PdfBytes(QGraphicsScene& scene, const QRectF& area) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Quilvaron"));
    writer.setTitle(QStringLiteral("Quilvaron experiment"));
    writer.setResolution(72);
    writer.setPageSize(QPageSize(area.size(), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    scene.render(&painter, QRectF(0, 0, writer.width(), writer.height()), area);
  }
  return buffer.data().toStdString();
}

}  // namespace

bool PlotTypeKnown(const std::string& fileName) {
  const QString type = PlotType(fileName);
  return type == QLatin1String("svg") || type == QLatin1String("png") ||
         type == QLatin1String("pdf");
}

std::string SummaryPlot(const std::vector<TSummaryRow>& summary, const std::string& fileName) {
  EnsureGuiApplication();
  QGraphicsScene scene;
  QChart* weight = FigureChart(summary, 0, QStringLiteral("Mean weight"), "%.0f");
  QChart* degree = FigureChart(summary, 1, QStringLiteral("Mean vertex degree"), "%.1f");
  scene.addItem(weight);
  scene.addItem(degree);
  degree->setPos(kChartWidth, 0);
  const QRectF area(0, 0, 2 * kChartWidth, kChartHeight);
  scene.setSceneRect(area);
  const QString type = PlotType(fileName);
  if (type == QLatin1String("png")) return PngBytes(scene, area);
  if (type == QLatin1String("pdf")) return PdfBytes(scene, area);
  return SvgText(scene, area);
}

}  // namespace qv::cli

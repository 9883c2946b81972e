// Files and images: opening and saving point sets, loading a background, saving the canvas.
//
// Every command first does all that can fail (reading and checking a whole file, decoding a
// whole image, writing a file beside its target) and only then touches the document and the
// canvas, so a failure leaves both as they were and never half a file on the disk.
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/Exportar.h"
#include "app/Jpeg.h"
#include "app/Principal.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"
#include "methods/Ejecucion.h"

namespace qv {

namespace {

const QString kPointsFilter = QStringLiteral("PT Files (*.pt)|*.PT");
const QString kPointsExtension = QStringLiteral("*.pt");
const QString kImageFilter = QStringLiteral("Image Files (*.bmp, *.jpg)|*.BMP;*.JPG");
const QString kSaveImageFilter = QStringLiteral(
    "Bitmap Files (*.bmp)|*.BMP|Jpeg Files (*.jpg)|*.JPG|PNG Files (*.png)|*.PNG|"
    "SVG Files (*.svg)|*.SVG|PDF Files (*.pdf)|*.PDF|TikZ Files (*.tikz)|*.TIKZ");
const QString kImageExtension = QStringLiteral("*.bmp");

// An image file larger than this is not read into memory: no picture the canvas can show needs
// it, and the decoders refuse it as they refuse any other damaged file.
constexpr long long kMaxImageFileBytes = 512LL << 20;

std::string LocalName(const QString& name) {
  return QFile::encodeName(name).toStdString();
}

// The name's extension from its last "." (none when a folder separator follows it), with its
// ASCII letters in upper case.
QString UpperExtension(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return QString();
  QString extension = name.mid(dot);
  if (extension.contains(QLatin1Char('/')) || extension.contains(QLatin1Char('\\'))) {
    return QString();
  }
  for (QChar& c : extension) {
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
  }
  return extension;
}

bool IsJpegName(const QString& name) {
  const QString extension = UpperExtension(name);
  return extension == QLatin1String(".JPG") || extension == QLatin1String(".JPEG");
}

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole file; a file that cannot be opened or read fails with the runtime's message, one
// too large for any picture with the decoder's.
std::vector<unsigned char> ReadImageFile(const QString& name, const std::string& tooLarge) {
  errno = 0;
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(LocalName(name).c_str(), "rb"));
  if (!file) throw UserError(FileErrorMessage(errno != 0 ? errno : EIO));
  std::vector<unsigned char> bytes;
  std::vector<unsigned char> block(1 << 16);
  for (;;) {
    errno = 0;
    const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
    if (got == 0) {
      if (std::ferror(file.get())) throw UserError(FileErrorMessage(errno != 0 ? errno : EIO));
      return bytes;
    }
    if (static_cast<long long>(bytes.size() + got) > kMaxImageFileBytes) throw UserError(tooLarge);
    bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
  }
}

// The picture of a background file, decoded completely: JPEG by the name's extension (".jpg"
// or ".jpeg", any case), everything else as a bitmap.
QImage DecodeBackground(const QString& name) {
  const std::string notBitmap = "Bitmap image is not valid";
  if (IsJpegName(name)) return DecodeJpeg(ReadImageFile(name, "JPEG error #-1"));
  const std::vector<unsigned char> bytes = ReadImageFile(name, notBitmap);
  QImage picture;
  if (!picture.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP") ||
      picture.isNull()) {
    throw UserError(notBitmap);
  }
  return picture.convertToFormat(QImage::Format_RGB32);
}

// The canvas as file content: PNG, SVG, PDF or TikZ by those extensions, a baseline JPEG of
// quality 90 for a JPEG name, else a BMP.
std::string CanvasContent(TPizarra& pizarra, const QString& name) {
  const QString extension = UpperExtension(name);
  for (const char* drawing : {".PNG", ".SVG", ".PDF", ".TIKZ"}) {
    if (extension == QLatin1String(drawing)) {
      return EncodeCanvas(extension.mid(1).toLower(), pizarra.Canvas());
    }
  }
  return EncodeRaster(pizarra.Surface(),
                      IsJpegName(name) ? QStringLiteral("jpg") : QStringLiteral("bmp"));
}

}  // namespace

QString TForm1::AskSaveName(const QString& filter, const QString& defaultExtension) {
  const QString name = FileDialogs().SaveFileName(filter, defaultExtension, SaveName);
  if (name.isEmpty() || !QFileInfo::exists(name)) return name;
  const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?");
  return Messages().Confirm(question.arg(QFileInfo(name).fileName())) ? name : QString();
}

// ---------------------------------------------------------------------------------------------
// Open

void TForm1::tbCargarClick() {
  if (!SaveChangesFirst()) return;
  const QString name = FileDialogs().OpenFileName(kPointsFilter, kPointsExtension, OpenName);
  if (name.isEmpty()) return;
  OpenName = name;
  OpenPointsFile(name);
}

void TForm1::LoadPointsFile(const QString& name) {
  // The whole file is read and checked before anything of the document changes.
  TArchivoPT file = LoadPT(LocalName(name));
  const bool polygonTool = tbUnir->isChecked();
  TEditMode mode = Doc.EditMode;
  if (polygonTool && file.Header == TCabeceraPT::Pol) {
    mode = TEditMode::DrawPolygon;
  } else if (polygonTool && file.Header == TCabeceraPT::Nub) {
    mode = TEditMode::ChainPolygon;
  }
  const bool asPolygon = polygonTool && mode == TEditMode::DrawPolygon;
  if (asPolygon && !ChainWithoutCrossings(file.Points, true)) {
    throw UserError("Polygon must be simple. No crossing edges allowed.");
  }

  Doc.Points = std::move(file.Points);
  Doc.EditMode = mode;
  Doc.DraggedPoint = kNone;  // it named a point of the set just replaced
  ViewForOpenedPoints();
  TDrawing drawing = Drawing();
  drawing.ClearCanvas();
  if (asPolygon) {
    drawing.DrawPolygonOutline(true);
    Doc.PolygonClosed = true;
  } else {
    drawing.DrawPoints(false);
    SortPointsByDirection(Doc.Points, Doc.SweepDirX, Doc.SweepDirY, Doc.DraggedPoint);
    Doc.SelectedMethod = TMethod::NoMethod;
  }
  PonEstado(0, ToolPrompt());
  RememberFile(name, asPolygon);
}

// ---------------------------------------------------------------------------------------------
// Save, Save As

void TForm1::WritePoints(const QString& fileName) {
  const bool polygon = Doc.SelectedMethod == TMethod::ShortestPaths && Doc.PolygonClosed;
  SavePT(LocalName(fileName), Doc.Points, polygon);
  MarkSaved(fileName);
}

void TForm1::tbGuardarClick() {
  if (Doc.Points.empty()) throw UserError("No distribution to save.");
  const QString name = AskSaveName(kPointsFilter, kPointsExtension);
  if (name.isEmpty()) return;
  SaveName = name;
  PointsFileName = name;
  WritePoints(name);
}

void TForm1::FSalvarClick() {
  // Only a name chosen for the points is written without asking: a name last chosen for an
  // image must not receive a point set.
  if (PointsFileName.isEmpty()) {
    tbGuardarClick();
    return;
  }
  WritePoints(PointsFileName);
}

// ---------------------------------------------------------------------------------------------
// Background and image

void TForm1::tbCargarFondoClick() {
  const QString name = FileDialogs().OpenFileName(kImageFilter, kImageExtension, OpenName);
  if (!name.isEmpty()) {
    OpenName = name;
    // Decoded before the canvas is touched: a damaged image leaves the drawing as it was.
    QImage picture = DecodeBackground(name);
    Doc.BackgroundBitmap = std::move(picture);
    TCanvas& canvas = Pizarra->Canvas();
    const QColor fill = canvas.BrushColor();
    canvas.SetBrushColor(Qt::white);
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
    canvas.SetBrushColor(fill);
    canvas.DrawAnd((canvas.Width() - Doc.BackgroundBitmap.width()) / 2,
                   (canvas.Height() - Doc.BackgroundBitmap.height()) / 2, Doc.BackgroundBitmap);
    Doc.BackgroundLoaded = true;
  }
  if (Doc.ResultShown) ExecuteSelectedMethod();
}

void TForm1::tbGuardarFondoClick() {
  const QString name = AskSaveName(kSaveImageFilter, kImageExtension);
  if (name.isEmpty()) return;
  SaveName = name;
  WriteFileSafely(LocalName(name), CanvasContent(*Pizarra, name));
}

}  // namespace qv

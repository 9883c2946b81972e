// The toolbar images (32 x 32) and the window icon, drawn in code.
#pragma once

#include <QIcon>
#include <QImage>

namespace qv {

// Toolbar images by index, in toolbar order; tbIncremental has two (face degree, vertex degree).
enum TToolbarImage : int {
  kImgCargar = 0,
  kImgGuardar,
  kImgPunto,
  kImgMover,
  kImgBorrar,
  kImgUnir,
  kImgRejilla,
  kImgLimpiar,
  kImgColores,
  kImgCargarFondo,
  kImgGuardarFondo,
  kImgBarrido,
  kImgCapas,
  kImgRemover,
  kImgIncrementalF,  // 14
  kImgIncrementalV,  // 15
  kImgCaminos,
  kImgBrujula,
  kImgAleatoria,
  kImgStat,
  kImgEjecutar,
  kImgFlip,
  kImgDeshacer,  // undo and redo, beside the file buttons
  kImgRehacer,
  kToolbarImageCount
};

QImage ToolbarImage(int index);
QIcon ToolbarIcon(int index);
QIcon WindowIcon();

}  // namespace qv

// The About box, opened from the menu.
#include "app/autor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "app/Principal.h"

namespace qv {
namespace {

TEST(AboutBox, ShowsTheLogoNameAndVersionAndGoesWhenClosed) {
  TForm1 form;
  bool seen = false;
  QTimer::singleShot(0, &form, [&form, &seen] {
    auto* about = form.findChild<TFormAutor*>();
    ASSERT_NE(about, nullptr);
    seen = true;
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Quilvaron"));
    EXPECT_EQ(about->size(), QSize(281, 126));
    EXPECT_EQ(about->Panel1->geometry(), QRect(8, 16, 84, 64));
    EXPECT_EQ(about->Image1->pixmap().size(), QSize(80, 60));
    EXPECT_EQ(about->Label1->pos(), QPoint(128, 20));
    EXPECT_EQ(about->Label2->pos(), QPoint(112, 41));
    EXPECT_EQ(about->Label3->pos(), QPoint(123, 62));
    EXPECT_EQ(about->Label3->text(), QStringLiteral("version 1.8.1  (Feb 2011)"));
    EXPECT_EQ(about->Label1->text(), QStringLiteral("Quilvaron"));
    for (QLabel* line : {about->Label1, about->Label2, about->Label3}) {
      EXPECT_EQ(line->font().pointSize(), 8);
      EXPECT_EQ(line->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    EXPECT_EQ(about->findChildren<QAbstractButton*>().size(), 0);
    about->close();
  });
  form.About1->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(form.findChild<TFormAutor*>(), nullptr);
}

}  // namespace
}  // namespace qv

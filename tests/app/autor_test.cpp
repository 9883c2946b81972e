// The About box, opened from the menu.
#include "app/autor.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "app/Principal.h"

namespace qv {
namespace {

TEST(AboutBox, OpensModallyWithItsLogoAndGoesWhenClosed) {
  TForm1 form;
  bool seen = false;
  QTimer::singleShot(0, &form, [&form, &seen] {
    auto* about = form.findChild<TFormAutor*>();
    ASSERT_NE(about, nullptr);
    seen = true;
    EXPECT_TRUE(about->isModal());
    EXPECT_FALSE(about->Image1->pixmap().isNull());
    about->close();
  });
  form.About1->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(form.findChild<TFormAutor*>(), nullptr);
}

}  // namespace
}  // namespace qv

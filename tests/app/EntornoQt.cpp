// One QApplication for the whole test program, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    // No test reads or writes the user's own settings.
    settings_ = QDir::tempPath() +
                QStringLiteral("/qv_settings_%1").arg(QCoreApplication::applicationPid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_);
  }
  void TearDown() override {
    app_.reset();
    QDir(settings_).removeRecursively();
  }

 private:
  int argc_ = 1;
  char name_[16] = "test_app";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
  QString settings_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

// The points where the window waits for a person: message boxes and file dialogs. The window
// reaches them through these interfaces, so that tests can answer without anyone there.
#pragma once

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace qv {

class IMessages {
 public:
  virtual ~IMessages() = default;
  // Shows a failure or notice text and returns when it has been acknowledged.
  virtual void ShowMessage(const QString& text) = 0;
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The chosen file name, or an empty text when the dialog was cancelled.
  virtual QString OpenFileName(const QString& filter, const QString& defaultExtension) = 0;
  virtual QString SaveFileName(const QString& filter, const QString& defaultExtension) = 0;
};

// Modal message boxes over a parent window.
class TMessageBoxes : public IMessages {
 public:
  explicit TMessageBoxes(QWidget* parent) : parent_(parent) {}
  void ShowMessage(const QString& text) override;

 private:
  QWidget* parent_;
};

// The platform's open and save dialogs.
class TFileDialogs : public IFileDialogs {
 public:
  explicit TFileDialogs(QWidget* parent) : parent_(parent) {}
  QString OpenFileName(const QString& filter, const QString& defaultExtension) override;
  QString SaveFileName(const QString& filter, const QString& defaultExtension) override;

 private:
  QWidget* parent_;
};

// Records every message instead of showing it.
class TRecordedMessages : public IMessages {
 public:
  void ShowMessage(const QString& text) override { Messages.push_back(text); }
  std::vector<QString> Messages;
};

// Answers the dialogs from a queue of file names; an exhausted queue cancels.
class TScriptedFileDialogs : public IFileDialogs {
 public:
  QString OpenFileName(const QString&, const QString&) override { return Next(); }
  QString SaveFileName(const QString&, const QString&) override { return Next(); }
  std::deque<QString> Names;

 private:
  QString Next();
};

}  // namespace qv

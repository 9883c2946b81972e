// The points where the window waits for a person: message boxes and file dialogs. The window
// reaches them through these interfaces, so that tests can answer without anyone there.
#pragma once

#include <QString>
#include <QStringList>
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

// filter: pairs of label and pattern separated by "|", patterns of one pair by ";", as in
// "PT Files (*.pt)|*.PT". defaultExtension: "*.pt", completing a typed name without one.
// remembered: the name the dialog offers first (the last one chosen in it).
class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The chosen file name, or an empty text when the dialog was cancelled. The open dialog
  // accepts names of files that do not exist; the save dialog does not ask before replacing.
  virtual QString OpenFileName(const QString& filter, const QString& defaultExtension,
                               const QString& remembered) = 0;
  virtual QString SaveFileName(const QString& filter, const QString& defaultExtension,
                               const QString& remembered) = 0;
};

// The name filters of a "label|pattern|..." filter as the platform dialog takes them: each
// label with its patterns, in both letter cases, in parentheses ("PT Files (*.PT *.pt)").
QStringList DialogNameFilters(const QString& filter);

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
  QString OpenFileName(const QString& filter, const QString& defaultExtension,
                       const QString& remembered) override;
  QString SaveFileName(const QString& filter, const QString& defaultExtension,
                       const QString& remembered) override;

 private:
  QWidget* parent_;
};

// Records every message instead of showing it.
class TRecordedMessages : public IMessages {
 public:
  void ShowMessage(const QString& text) override { Messages.push_back(text); }
  std::vector<QString> Messages;
};

// Answers the dialogs from a queue of file names (an exhausted queue cancels) and records
// what each dialog was asked to show.
class TScriptedFileDialogs : public IFileDialogs {
 public:
  struct TRequest {
    bool Save = false;
    QString Filter;
    QString DefaultExtension;
    QString Remembered;
  };
  QString OpenFileName(const QString& filter, const QString& defaultExtension,
                       const QString& remembered) override;
  QString SaveFileName(const QString& filter, const QString& defaultExtension,
                       const QString& remembered) override;
  std::deque<QString> Names;
  std::vector<TRequest> Requests;

 private:
  QString Next();
};

}  // namespace qv

// The points where the window waits for a person: message boxes and file dialogs. The window
// reaches them through these interfaces, so that tests can answer without anyone there.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "methods/Eleccion.h"

class QWidget;

namespace qv {

class TRandom;

// The answers to a question about unsaved changes.
enum class TSaveAnswer { Save, Discard, Cancel };

class IMessages {
 public:
  virtual ~IMessages() = default;
  // Shows a failure or notice text and returns when it has been acknowledged.
  virtual void ShowMessage(const QString& text) = 0;
  // Asks whether to save changes before they are lost: "Save", "Discard" or "Cancel".
  virtual TSaveAnswer AskToSave(const QString& question) = 0;
  // Asks a yes-or-no question ("Yes" is true).
  virtual bool Confirm(const QString& question) = 0;
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

// The triangulation chooser, as the methods that show it from inside their run see it.
class IChooser {
 public:
  virtual ~IChooser() = default;
  // Shows the chooser modally for a convex polygon of n vertices: the last triangulation again
  // when it has n vertices, otherwise the fan from vertex 0. True when the user confirmed with
  // "OK"; closing it any other way answers false.
  virtual bool ShowModal(int n) = 0;
  // Enables or disables the "Labels", "Pockets" and "Monocolor" boxes.
  virtual void SetOptionsEnabled(bool enabled) = 0;
  // The current triangulation, its size and the recompute flag.
  virtual TTriangulationChoice& Choice() = 0;
  virtual bool Labels() const = 0;
  virtual bool Pockets() const = 0;
  virtual bool Monocolor() const = 0;
};

// Modal message boxes over a parent window.
class TMessageBoxes : public IMessages {
 public:
  explicit TMessageBoxes(QWidget* parent) : parent_(parent) {}
  void ShowMessage(const QString& text) override;
  TSaveAnswer AskToSave(const QString& question) override;
  bool Confirm(const QString& question) override;

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

// Records every message and question instead of showing it; questions are answered from a
// queue, "Discard" (or "Yes") once it is exhausted.
class TRecordedMessages : public IMessages {
 public:
  void ShowMessage(const QString& text) override { Messages.push_back(text); }
  TSaveAnswer AskToSave(const QString& question) override;
  bool Confirm(const QString& question) override;
  std::vector<QString> Messages;
  std::vector<QString> Questions;
  std::deque<TSaveAnswer> Answers;
  std::deque<bool> Confirmations;
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

// One showing of the scripted chooser: the buttons pressed, in order ('N' "Next", 'P' "Prev",
// 'R' "Random"), optional clicks on the option boxes, then "OK" or a close.
struct TChooserAnswer {
  std::string Presses;
  bool Ok = true;
  int Pockets = -1;    // -1 leaves the box alone, 0 or 1 sets it as a click would
  int Monocolor = -1;  // likewise
  int Labels = -1;
};

// Answers the chooser from a queue without anyone there; an exhausted queue closes it without
// "OK". The options follow the dialog's coupling ("Monocolor" implies "Pockets", a change of
// "Pockets" sets the recompute flag).
class TScriptedChooser : public IChooser {
 public:
  explicit TScriptedChooser(TRandom& random) : random_(random) {}
  bool ShowModal(int n) override;
  void SetOptionsEnabled(bool enabled) override { OptionsEnabled = enabled; }
  TTriangulationChoice& Choice() override { return Model; }
  bool Labels() const override { return LabelsChecked; }
  bool Pockets() const override { return PocketsChecked; }
  bool Monocolor() const override { return MonocolorChecked; }

  // Click handling of the two coupled boxes.
  void SetPockets(bool checked);
  void SetMonocolor(bool checked);

  std::deque<TChooserAnswer> Answers;
  TTriangulationChoice Model;
  bool LabelsChecked = true;
  bool PocketsChecked = false;
  bool MonocolorChecked = false;
  bool OptionsEnabled = true;
  // The size asked for at each showing, and whether the boxes were enabled then.
  std::vector<int> Shown;
  std::vector<bool> EnabledWhenShown;

 private:
  TRandom& random_;
};

}  // namespace qv

// quilvaron-cli: runs a construction method on a ".pt" file or a random distribution and
// prints the statistics panel's figures; see --help.
#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "io/Salida.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen application the tool makes for fonts and charts needs no runtime folder, so
// Qt's note that the session has none is not shown; every other message goes on as before.
void QuietRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (previousHandler != nullptr) {
    previousHandler(type, context, text);
  } else {
    std::fputs(qPrintable(qFormatLogMessage(type, context, text) + QLatin1Char('\n')), stderr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  previousHandler = qInstallMessageHandler(QuietRuntimeFolder);
  // An interrupted run leaves no temporaries beside its outputs.
  qv::RemoveTemporariesOnSignal();
  std::vector<std::string> args(argv + 1, argv + argc);
  // Standard output through a buffer that keeps the cause of a failed write ("Disk full").
  qv::TDescriptorBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  return qv::cli::RunCli(args, out, std::cerr);
}

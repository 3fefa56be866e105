#include "app/cli/Commands.h"
#include "model/Errors.h"

namespace vandra::cli {

int CommandDump(const QStringList&) { throw UsageError("the Dump command is not built yet"); }

}  // namespace vandra::cli

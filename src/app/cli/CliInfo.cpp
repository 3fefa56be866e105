#include "app/cli/Commands.h"
#include "model/Errors.h"

namespace vandra::cli {

int CommandInfo(const QStringList&) { throw UsageError("the Info command is not built yet"); }

}  // namespace vandra::cli

#include "app/cli/Commands.h"
#include "model/Errors.h"

namespace vandra::cli {

int CommandTcl(const QStringList&) { throw UsageError("the Tcl command is not built yet"); }

}  // namespace vandra::cli

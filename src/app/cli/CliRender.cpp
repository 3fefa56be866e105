#include "app/cli/Commands.h"
#include "model/Errors.h"

namespace vandra::cli {

int CommandRender(const QStringList&) { throw UsageError("the Render command is not built yet"); }

}  // namespace vandra::cli

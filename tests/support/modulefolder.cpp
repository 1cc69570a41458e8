// Compiled into every test and benchmark program: they run in the build
// tree, away from the program folder where the modules lie.
#include "platform/modules.h"

namespace {

const bool g_moduleFolderAdded = [] {
    qm::addModuleFolder(QStringLiteral(QUILLMAP_BUILD_APP_DIR));
    return true;
}();

} // namespace

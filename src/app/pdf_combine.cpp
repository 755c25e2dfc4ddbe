#include "app/pdf_combine.h"

#include "foundation/app_state.h"
#include "foundation/log.h"
#include "platform/files.h"

namespace kib {

bool CombineConvertedSheets(const std::vector<std::string>& parts, const std::string& target) {
    for (const std::string& part : parts) {
        if (platform::KindOf(part) != platform::FileKind::Regular) {
            App().Log().Error("Cannot combine the sheets into %s: %s is missing; the single "
                              "files are kept.",
                              target.c_str(), part.c_str());
            return false;
        }
    }
    std::string error;
    if (!CombinePdfFiles(parts, target, error)) {
        App().Log().Error("Cannot combine the sheets into %s: %s; the single files are kept.",
                          target.c_str(), error.c_str());
        return false;
    }
    App().Log().Info("%d sheets combined into %s.", static_cast<int>(parts.size()), target.c_str());
    return true;
}

} // namespace kib

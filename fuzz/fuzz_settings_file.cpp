// Any bytes given as a settings file: refused with a reason, or taken with
// only settings we know in their own text forms, which read back the same
// once written again.

#include "config/field_text.h"
#include "config/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fault(const char *what)
{
    std::fprintf(stderr, "settings file fault: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const config::SettingsFileRead read = config::readSettingsFile(bytes);
    if (!read.file) {
        if (read.error.isEmpty())
            fault("refused without a reason");
        return 0;
    }
    for (auto it = read.file->settings.constBegin(); it != read.file->settings.constEnd(); ++it) {
        if (!config::settingNamed(it.key()))
            fault("an unknown setting was taken");
    }
    const config::SettingsFileRead again = config::readSettingsFile(config::writeSettingsFile(*read.file));
    if (!again.file || again.file->settings != read.file->settings)
        fault("a file taken does not read back the same");
    return 0;
}

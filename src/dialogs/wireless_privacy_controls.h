#pragma once
// The controls of the privacy group, as the main window's dialog and the
// quick-setup window's WEP tab both have them, and how they are filled
// from the store and written back: the one place with these rules.

#include <array>

class MaskedHexEdit;
class QComboBox;
class QLineEdit;

namespace agent {
class Device;
}
namespace config {
struct ConfigurationStore;
}

namespace dialogs {

struct WirelessPrivacyControls {
    static constexpr int kEnablePosition = 0;   // "Enable"
    static constexpr int kDisablePosition = 1;  // "Disable"
    static constexpr int kNonePosition = 4;     // "None", after "Key 1" .. "Key 4"

    QComboBox *wepEnable = nullptr;
    QComboBox *defaultKeyId = nullptr;
    std::array<MaskedHexEdit *, 4> keys{};

    // The keys, the key number ("None" for a number outside 1..4) and the
    // switch (anything but "on" shows as off).
    void show(const config::ConfigurationStore &store) const;
    // Marks each key box whose text is not ten hexadecimal digits; returns
    // the first of them (nullptr: all four are good).
    QLineEdit *markRefusedKeys() const;
    // "None" stands for no value: the key number stays as it was. The
    // privacy group counts as edited when a value changed.
    void save(agent::Device &device) const;
};

}  // namespace dialogs

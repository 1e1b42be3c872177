#pragma once
// The controls of the wireless operational group, as the main window's
// dialog and the quick-setup window's Basic and Advanced tabs both have
// them, and how they are filled from the store and written back. Both
// windows follow the same rules; this is the one place that has them.

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace config {
struct ConfigurationStore;
}

namespace dialogs {

struct WirelessOperationalControls {
    QComboBox *channel = nullptr;
    QLineEdit *essid = nullptr;
    QLineEdit *rtsThreshold = nullptr;
    QLineEdit *fragmentationThreshold = nullptr;
    QAbstractButton *shortPreamble = nullptr;
    QAbstractButton *longPreamble = nullptr;
    QAbstractButton *openSystem = nullptr;
    QAbstractButton *sharedKey = nullptr;
    QAbstractButton *bothTypes = nullptr;
    QAbstractButton *basicRates12 = nullptr;
    QAbstractButton *basicRates125511 = nullptr;
    QCheckBox *autoRateFallBack = nullptr;

    // The channel list of the regulation domain, nothing selected.
    void fillChannelList(int regulationDomain) const;
    // Every control from the store; a value with no control of its own
    // leaves that control as it is.
    void show(const config::ConfigurationStore &store) const;
    // The selected channel, when the list has one selected.
    void saveChannel(config::ConfigurationStore &store) const;
    // Marks the ESSID box, and with `thresholds` the threshold boxes, whose
    // text the device would refuse; returns the first of them (nullptr: all
    // are good).
    QLineEdit *markRefused(bool thresholds) const;
    // The thresholds; false (and nothing stored) when either text is refused.
    bool saveThresholds(config::ConfigurationStore &store) const;
    // Preamble, authentication, basic rates, auto rate fall-back: an option
    // group with nothing selected leaves its field as it is (the preamble
    // takes "long").
    void saveOptions(config::ConfigurationStore &store) const;
};

}  // namespace dialogs

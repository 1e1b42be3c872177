# Small, realistic faults, one per row: (name, file, text as committed, text
# with the fault). The suite should fail for every one of them.
W='src/config/group_writers.cpp'; R='src/config/group_readers.cpp'
FAULTS = [
 ('essid echo removed', W, "    echo.prefix(3, essid, int(essid.size()) - 1);\n", ""),
 ('ip address echo removed', W, "    echo.exact(2, s.operIPAddress.trimmed().toLatin1());\n", ""),
 ('4th WEP key echo removed', W, "    for (int i = 0; i < 4; ++i)\n        echo.exact(3 + i, keys[i]);", "    for (int i = 0; i < 3; ++i)\n        echo.exact(3 + i, keys[i]);"),
 ('bssid echo removed', W, "        echo.exact(2, bssid);", "        ;"),
 ('fragmentation lands in RTS', R, "storeInteger(r, 4, t.operFragmentationThreshold", "storeInteger(r, 4, t.operRTSThreshold"),
 ('RTS accepts 2347', R, "storeInteger(r, 3, t.operRTSThreshold, kThresholdMinimum, kThresholdMaximum)", "storeInteger(r, 3, t.operRTSThreshold, kThresholdMinimum, kThresholdMaximum + 1)"),
 ('channel 14 refused', R, "t.operChannelID, 1, 14)", "t.operChannelID, 1, 13)"),
 ('key id 4 refused', R, "t.privacyDefaultWEPKeyID, 0, 4)", "t.privacyDefaultWEPKeyID, 1, 4)"),
 ('mask into address', R, "[&] { return dotted(2, t.operIPMask); }", "[&] { return dotted(2, t.operIPAddress); }"),
 ('key 3 from position 4', R, "storeHex(r, 3, 5, t.defaultWEPKey3)", "storeHex(r, 4, 5, t.defaultWEPKey3)"),
 ('bridge mode 2 reads bssid', R, "|| t.bridgeOperationalMode == 2)", ")"),
 ('4-byte BER length refused', 'src/snmp/ber.cpp', "        if (count > 4) {", "        if (count > 3) {"),
 ('counters big-endian', 'src/config/counters.cpp', "    for (int i = 3; i >= 0; --i)", "    for (int i = 0; i <= 3; ++i)"),
 ('essid length counts blanks', 'src/config/encodings.cpp', "if (c.unicode() < 33 || c.unicode() > 126)", "if (c.unicode() < 32 || c.unicode() > 126)"),
 ('community not sent on connect', 'src/agent/connecting.cpp', "    if (setCommunity)\n        Manager1.Message.Community = config::octetsFromText(connectCommunity_);\n", ""),
 ('privacy dialog: key 4 shows None', 'src/dialogs/wireless_privacy_controls.cpp', "keyId >= 1 && keyId <= 4 ?", "keyId >= 1 && keyId <= 3 ?"),
 ('error status accepted', 'src/config/device_link.cpp', "    if (answer.ErrorStatus != 0) {", "    if (false) {"),
 ('answer names not checked', 'src/config/device_link.cpp', "    if (!sameNames) {", "    if (false) {"),
 ('directed connect takes any host', 'src/agent/connecting.cpp', "    return snmp::SnmpManager::isBroadcast(asked) || QHostAddress(responder) == asked;", "    return true;"),
 ('read starts while busy', 'src/agent/connecting.cpp', "    if (Manager1.Busy()) {\n        passQueued_ = true;", "    if (false) {\n        passQueued_ = true;"),
 ('request port takes traps', 'src/agent/device_session.cpp', "    Manager1.dropsTraps = true;", "    Manager1.dropsTraps = false;"),
 ('commands run inside a download', 'src/agent/device_session.cpp', "    if (!deviceWorkRunning())\n        return false;", "    if (true)\n        return false;"),
 ('pending address kept', 'src/agent/download.cpp', "            s.pendingIPAddress.clear();\n", ""),
 ('guard off', 'src/snmp/snmp_manager.cpp', "    if (!loopback_guard::allows(host)) {", "    if (false) {"),
 ('sim reports factory address', 'src/sim/simulated_access_point.cpp', "    if (!socket_ || !isIpv4 || !address_.isLoopback())\n        return;", "    return;"),
 ('dialog threshold 2347', 'src/config/encodings.h', "constexpr int kThresholdMaximum = 2346;", "constexpr int kThresholdMaximum = 2347;"),
 ('bridge mode keeps empty box', 'src/dialogs/frm_bridge_operational_mode.cpp', "    if (RemoteBridgeBSSIDMaskEdBox->storeText().isEmpty())\n        RemoteBridgeBSSIDMaskEdBox->setStoreText(config::store().bridgeRemoteBridgeBSSID);", "    ;"),
 ('reset counts any answer', 'src/config/device_commands.cpp', "    return value && *value == 1;", "    return value.has_value();"),
 ('five probe resends become four', 'src/agent/connecting.cpp', "        if (ConnectRetries < 5) {", "        if (ConnectRetries < 4) {"),
 ('failure text on pass 4', 'src/agent/full_read.cpp', "    if (ReadAttempt == 5) {", "    if (ReadAttempt == 4) {"),
 ('failed attempt keeps UserConfirmed', 'src/agent/download.cpp', "    if (!DownloadOK)\n        UserConfirmed = false;\n", ""),
 ('download repeats four times', 'src/agent/download.cpp', "    if (DownloadAttempt < 5) {", "    if (DownloadAttempt < 4) {"),
 ('privacy before IP', 'src/agent/download.cpp', "        config::SetIPSettingsConf,\n        config::SetPrivacySettingsConf,", "        config::SetPrivacySettingsConf,\n        config::SetIPSettingsConf,"),
 ('hex lower case', 'src/config/encodings.cpp', 'digits[] = "0123456789ABCDEF"', 'digits[] = "0123456789abcdef"'),
 ('hex pair reads past a non-digit', 'src/config/encodings.cpp', "            if (digit < 0)\n                break;", "            if (digit < 0)\n                continue;"),
]

# --- windows, views, options and polling, quick setup, traps, radio, help ---
OP='src/dialogs/frm_wireless_operational_settings.cpp'; PR='src/dialogs/wireless_privacy_controls.cpp'
BI='src/dialogs/frm_bridge_ip_settings.cpp'; BM='src/dialogs/frm_bridge_operational_mode.cpp'
Q='src/quicksetup/frm_main2.cpp'; QW='src/quicksetup/wireless_tabs.cpp'; QI='src/quicksetup/ip_wep_tabs.cpp'
TE='src/traps/trap_entry.cpp'; TR='src/traps/trap_reception.cpp'; RC='src/config/radio_commands.cpp'
TM='src/radiotest/frm_test_mode.cpp'; RCW='src/radiotest/frm_radio_configuration.cpp'
FAULTS += [
 ('operational: preamble codes swapped', 'src/dialogs/wireless_operational_controls.cpp', "store.operPreambleType = shortPreamble->isChecked() ? 1 : 2;", "store.operPreambleType = shortPreamble->isChecked() ? 2 : 1;"),
 ('privacy: None stores key id 5', PR, "if (keyPosition >= 0 && keyPosition < kNonePosition)", "if (keyPosition >= 0 && keyPosition <= kNonePosition)"),
 ('bridge IP: mask stored from address box', BI, "store.operIPMask = IPMaskText->text();", "store.operIPMask = IPAddressText->text();"),
 ('bridge mode: WB stored as WB to WB', BM, "store.bridgeOperationalMode = kWirelessBridge;", "store.bridgeOperationalMode = kWirelessBridgeToWirelessBridge;"),
 ('bridge mode: AP leaves BSSID enabled', BM, "void frmBridgeOperationalMode::APOption_Click() { enablePartnerAddress(false); }", "void frmBridgeOperationalMode::APOption_Click() { enablePartnerAddress(true); }"),
 ('wireless view: two boxes swapped', 'src/dialogs/frm_info_statistics.cpp', '{19, {"ReceivedDuplicatetxt", "Received Duplicate"}},\n    {20, {"FailedPacketstxt"', '{20, {"ReceivedDuplicatetxt", "Received Duplicate"}},\n    {19, {"FailedPacketstxt"'),
 ('Ethernet view: Tx boxes show Rx', 'src/dialogs/frm_ethernet_statistics.cpp', "transmitBoxes_[k]->setText(QString::number(store.EthTxStatistics.at(k)));", "transmitBoxes_[k]->setText(QString::number(store.EthRxStatistics.at(k)));"),
 ('device view: domain as a number', 'src/dialogs/frm_device_info.cpp', "RegulationDomainText->setText(config::regulationDomainName(info.regulationDomain));", "RegulationDomainText->setText(QString::number(info.regulationDomain));"),
 ('options: OK does not apply polling', 'src/app/frm_options.cpp', "    polling_.apply(store.pollingInterval);\n", ""),
 ('polling: tick skips only an outstanding request', 'src/agent/polling.cpp', "    if (session_.deviceWorkRunning()) {", "    if (session_.Manager1.Busy()) {"),
 ('quick setup: timeout one tick late', Q, "if (ConnectTicks < kTicksBeforeTimeout)", "if (ConnectTicks <= kTicksBeforeTimeout)"),
 ('quick setup: any code counts as connected', Q, "if (config::regulationDomainName(config::store().sysDeviceInfo.regulationDomain).isEmpty())", "if (config::store().sysDeviceInfo.regulationDomain == 0)"),
 ('quick setup: WEP status key number off by one', Q, 'return QStringLiteral("Enable Key=%1").arg(key + 1);', 'return QStringLiteral("Enable Key=%1").arg(key);'),
 ('quick setup: RTS marks the basic tab', Q, "connect(RTSThresholdText, &QLineEdit::textChanged, this, marks(BC1_OKCommand));", "connect(RTSThresholdText, &QLineEdit::textChanged, this, marks(BC_OKCommand));"),
 ('quick setup: reconnect keeps the old address', Q, "        dialog->txtRemoteIP->setText(s.AgentAddress.trimmed());", "        ;"),
 ('quick setup: declined Apply keeps the typed address', Q, "    store.pendingIPAddress = pendingBefore;\n", ""),
 ('quick setup: basic tab stores fragmentation', QW, "    store.operESSID = ESSIDtext->text();\n    config::noteEdits(config::Group::WirelessOperational, before);\n    return true;", "    store.operESSID = ESSIDtext->text();\n    store.operFragmentationThreshold = FragmentationThresholdText->text().toInt();\n    config::noteEdits(config::Group::WirelessOperational, before);\n    return true;"),
 ('quick setup: defaults short preamble', QW, "\n    LongPreambleOption->setChecked(true);\n    BothTypeOption", "\n    ShortPreambleOption->setChecked(true);\n    BothTypeOption"),
 ('quick setup: short list takes its last channel', QW, ": (ChannelCombo->count() > 0 ? 0 : -1);", ": ChannelCombo->count() - 1;"),
 ('trap entry: station in lower case', TE, "return bytes.toHex(' ').toUpper();", "return bytes.toHex(' ');"),
 ('trap entry: address text corrected', TE, '"The new IP Addres :"', '"The new IP Address :"'),
 ('trap entry: code 9 as a station trap', TE, "    case 8:\n    case 9:\n", "    case 8:\n"),
 ('traps: heard before the read', TR, "if (manager_.RemoteHost != agentAddress_ || !connected_)", "if (manager_.RemoteHost != agentAddress_)"),
 ('traps: log of 20000 emptied', TR, "if (TrapLog.size() > kTrapLogLimit)", "if (TrapLog.size() >= kTrapLogLimit)"),
 ('traps: file written with saving off', TR, "    if (config::store().saveTraps) {\n        pendingFile_ += entry;", "    if (true) {\n        pendingFile_ += entry;"),
 ('trap file: overwritten, not appended', 'src/traps/trap_log_file.cpp', "constexpr int kOpenFlags = O_WRONLY | O_APPEND | O_NONBLOCK", "constexpr int kOpenFlags = O_WRONLY | O_TRUNC | O_NONBLOCK"),
 ('trap switch: any echo counts', 'src/traps/trap_switch.cpp', "echoed = answer && *answer == value;", "echoed = answer.has_value();"),
 ('trap recorder: Clear all empties the log file too', 'src/dialogs/frm_trap_log.cpp', "    log_.TrapLog.clear();\n", "    log_.TrapLog.clear();\n    QFile::resize(log_.logFilePath(), 0);\n"),
 ('radio: CR31 of 80 refused', RC, "return value >= 128 && value <= 255;", "return value > 128 && value <= 255;"),
 ('radio: five runs', 'src/agent/radio_test_steps.cpp', "if (RetryCount >= kRadioRetryLimit)", "if (RetryCount > kRadioRetryLimit)"),
 ('radio: close resets before idle', 'src/agent/radio_test_steps.cpp', "        const bool idle = session.SetTestModeValues(config::kTestModeIdle);\n        const bool reset = session.ResetDevise();", "        const bool reset = session.ResetDevise();\n        const bool idle = session.SetTestModeValues(config::kTestModeIdle);"),
 ('radio: configuration echo not compared', RC, "return echo && *echo == bytes;", "return echo != nullptr;"),
 ('test window: rate codes from 1', TM, "{RateOption, store.testModeRate, 0, agent::radiotext::selectRate},", "{RateOption, store.testModeRate, 1, agent::radiotext::selectRate},"),
 ('test window: clearing a mode repeats it', TM, "runAction(checked ? action : TestModeAction::Idle);", "runAction(action);"),
 ('radio window: boxes from the wrong places', RCW, "CR31edit[k]->setStoreText(text.mid(2 * k, 2));", "CR31edit[k]->setStoreText(text.mid(k, 2));"),
 ('help: no search page', 'src/app/help_window.cpp', '    navigation_->addTab(buildSearchPage(), QStringLiteral("&Search"));\n', ''),
 ('help: a new window per click', 'src/app/frm_main.cpp', "    if (!helpWindow_) {\n        const QString file", "    if (true) {\n        const QString file"),
]

# --- the kinds that once got through: equal values in a command's fields, a
# cached value never refreshed, a counter or flag kept from an earlier
# attempt, the details of the echo rules, the ends of ranges ---
C='src/agent/connecting.cpp'; AO='src/sim/apsim_options.cpp'; DL='src/agent/download.cpp'
FAULTS += [
 ('test command: antenna and Tx filter swapped', RC, "        byteOf(store.testModeAntenna),\n        HexToBytes(store.testModeCR31, 1).at(0),\n        byteOf(store.testModeRate),\n        byteOf(store.testModeTxFilter),", "        byteOf(store.testModeTxFilter),\n        HexToBytes(store.testModeCR31, 1).at(0),\n        byteOf(store.testModeRate),\n        byteOf(store.testModeAntenna),"),
 ('writer: RTS sent as the fragmentation threshold', W, 'link.AddIntegerVariable(QStringLiteral("operRTSThreshold"), s.operRTSThreshold)', 'link.AddIntegerVariable(QStringLiteral("operRTSThreshold"), s.operFragmentationThreshold)'),
 ('manager: resolved address kept for another host', 'src/snmp/snmp_manager.cpp', "    if (!RemoteHost.isEmpty() && RemoteHost == resolvedText_) {", "    if (!resolvedText_.isEmpty()) {"),
 ("manager: first sender's text kept", 'src/snmp/snmp_manager.cpp', "    if (from != lastSender_) {", "    if (lastSenderText_.isEmpty()) {"),
 ('second connect keeps the read attempts', C, "    ReadAttempt = 0;\n", ""),
 ('second connect keeps the probe resends', C, "    ConnectRetries = 0;\n    ScanRetries = 0;\n}", "    ScanRetries = 0;\n}"),
 ('refused connect leaves its reason', C, "    probeIds_.clear();\n    problem_.clear();\n    OpenConf();", "    probeIds_.clear();\n    OpenConf();"),
 ('connect keeps the old device', C, "    if (Connected)\n        DisableDeviceMenus();\n", ""),
 ('ESSID echo compares the last character too', W, "    echo.prefix(3, essid, int(essid.size()) - 1);", "    echo.prefix(3, essid, int(essid.size()));"),
 ('IP echo against the address before the new one', W, "    if (address != s.operIPAddress.trimmed())\n        s.operIPAddress = s.pendingIPAddress;\n", ""),
 ('apsim: --error-status 5 refused', AO, "readInt(p.parser, p.errorStatus, 0, 5,", "readInt(p.parser, p.errorStatus, 0, 4,"),
 ('apsim: --drop-ratio 1 refused', AO, "f.dropRatio <= 1.0", "f.dropRatio < 1.0"),
 ('console: port 65535 refused', 'src/settings/command_line_options.cpp', "value > 65535", "value >= 65535"),
 ('polling: 30 seconds not a step', 'src/agent/polling.cpp', "return step < kPollingSteps ? step : -1;", "return step < kPollingSteps - 1 ? step : -1;"),
]

# --- nothing unread, unchecked or stale is sent, every failure is seen, a
# lossy link works ---
FAULTS += [
 ('rejected group kept in the store', R, "    if (verdict == StoreVerdict::Accepted)\n        copyGroup(group, scratch, target);", "    copyGroup(group, scratch, target);"),
 ('device information fails silently', R, '{Group::HardConf, {QStringLiteral("sysDeviceInfo")}, 1,', '{Group::HardConf, {QStringLiteral("sysDeviceInfo")}, 0,'),
 ('lost GET not sent again', 'src/config/device_link.cpp', "result.outcome == snmp::SendOutcome::TimedOut && sent < tries", "false && sent < tries"),
 ('poll replaces edits', 'src/agent/full_read.cpp', "    if (state.isEdited(group))\n        return true;\n", ""),
 ('polling before a connect', 'src/agent/polling.cpp', "    if (!session_.Connected)\n        return;\n", ""),
 ('download sends a group not read', DL, "        if (!config::groupState().isRead(group)) {", "        if (false) {"),
 ('download sends a refused value', DL, "        if (const auto refused = config::firstRefusedValue(group, s)) {", "        if (const auto refused = std::optional<config::RefusedValue>()) {"),
 ('pending address kept after a failed download', DL, "        config::store().pendingIPAddress.clear();\n        setFailureStatus(text::downloadFailed);", "        setFailureStatus(text::downloadFailed);"),
 ('commands go to a device let go of', 'src/agent/device_session.cpp', "bool DeviceSession::refuseWithoutDevice()\n{\n    if (Connected)", "bool DeviceSession::refuseWithoutDevice()\n{\n    if (true)"),
 ('empty ESSID accepted', 'src/config/value_rules.cpp', "    if (text.isEmpty() || text.size() > 32", "    if (text.size() > 32"),
 ('bridge IP: address beyond 255 stored', BI, "{IPAddressText, config::dottedQuadFromText(IPAddressText->text()).has_value(), config::addressHint()}", "{IPAddressText, true, config::addressHint()}"),
 ('hex box takes any character', 'src/widgets/masked_hex_edit.cpp', 'QStringLiteral("hh") : QStringLiteral(" hh")', 'QStringLiteral("xx") : QStringLiteral(" xx")'),
 ('quick setup: Connect OK before the read is through', Q, "    return session().Connected;", "    return true;"),
 ('quick setup: times out while reading', Q, "    else if (!session().fullReadRunning())", "    else"),
 ('quick setup: close cuts a download short', Q, "        if (session().downloadUnderWay()) {", "        if (false) {"),
 ('quick setup: repeat that got through ignored', Q, "        if (applying_)\n            txtStatus->setText(s.statusText());", "        applying_ = false;"),
 ('radio: Set before a read', RCW, "    SetCommand->setEnabled(false);\n", ""),
 ('test window: CR31 checked after the click', TM, "            CR31edit_LostFocus(reason == Qt::MouseFocusReason);", "            QMetaObject::invokeMethod(this, [this] { CR31edit_LostFocus(); }, Qt::QueuedConnection);"),
 ('test window: failed Close closes', TM, "    if (!normal) {", "    if (false) {"),
 ('pass phrase: Latin-1 only', 'src/config/wep_keys.cpp', "        if (kCodes80To9F[i] != 0 && kCodes80To9F[i] == character)", "        if (false)"),
]

# --- the exporter ---
EX='src/exporter/target_pool.cpp'; EQ='src/exporter/scrape_query.cpp'
FAULTS += [
 ('exporter: label quotes not escaped', 'src/exporter/metrics_text.cpp', "        else if (c == '\"' && quotes)", "        else if (false)"),
 ('exporter: Ethernet tx shows rx', 'src/exporter/device_metrics.cpp', "    case Record::EthernetTx: return counters.ethernetTx.at(metric.k);", "    case Record::EthernetTx: return counters.ethernetRx.at(metric.k);"),
 ('exporter: allowed networks not checked', EQ, "    if (!limits.allowed.allows(target->host))", "    if (false)"),
 ('exporter: every scrape reads its own', EX, "    if (target.reading()) {", "    if (false) {"),
 ('exporter: no answer before the read gives up', EX, "    waiter->deadline->start(qMax(1, budgetMs));", "    waiter->deadline->start(60000);"),
 ('exporter: identity read with every scrape', EX, "clock_.elapsed() - target.identityReadAtMs >= settings_.identityTtlMs;", "true;"),
]

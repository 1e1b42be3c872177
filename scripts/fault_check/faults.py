# Small, realistic faults, one per row: (name, file, text as committed, text
# with the fault). The suite should fail for every one of them.
FAULTS = [
 ('essid echo removed', 'src/config/device_objects.cpp', '        return !bytes.isEmpty() && echoed.left(bytes.size() - 1) == bytes.left(bytes.size() - 1);', '        return true;'),
 ('ip address echo removed', 'src/config/device_objects.cpp', '    return echoed == snmp::valueText(sent.value);', '    return sent.object->codec == Codec::Address || echoed == snmp::valueText(sent.value);'),
 ('bssid echo removed', 'src/agent/download_job.cpp', 'for (qsizetype i = 0; result.ok() && i < sent.size(); ++i)', 'for (qsizetype i = 0; result.ok() && i + 1 < sent.size(); ++i)'),
 ('fragmentation lands in RTS', 'src/config/device_objects.cpp', 'integerObject<&CS::operFragmentationThreshold>("operFragmentationThreshold"', 'integerObject<&CS::operRTSThreshold>("operFragmentationThreshold"'),
 ('RTS accepts 2347', 'src/config/device_objects.cpp', '"RTS Threshold", thresholdHint(),\n                                             G::WirelessOperational, kThresholdMinimum, kThresholdMaximum),', '"RTS Threshold", thresholdHint(),\n                                             G::WirelessOperational, kThresholdMinimum, kThresholdMaximum + 1),'),
 ('channel 14 refused', 'src/config/device_objects.cpp', 'G::WirelessOperational, 1,\n                                          14),', 'G::WirelessOperational, 1,\n                                          13),'),
 ('key id 4 refused', 'src/config/device_objects.cpp', 'G::Privacy, 0, 4),', 'G::Privacy, 1, 4),'),
 ('mask into address', 'src/config/device_objects.cpp', 'textObject<&CS::operIPMask>("operIPMask"', 'textObject<&CS::operIPAddress>("operIPMask"'),
 ('key 3 from position 4', 'src/config/device_objects.cpp', 'hexObject<&CS::defaultWEPKey3>("defaultWEPKey3"', 'hexObject<&CS::defaultWEPKey4>("defaultWEPKey3"'),
 ('bridge mode 2 reads bssid', 'src/config/device_objects.cpp', '    return store.bridgeOperationalMode == 1 || store.bridgeOperationalMode == 3;', '    return store.bridgeOperationalMode != 0;'),
 ('4-byte BER length refused', 'src/snmp/ber.cpp', "        if (count > 4) {", "        if (count > 3) {"),
 ('counters big-endian', 'src/config/counters.cpp', "    for (int i = 3; i >= 0; --i)", "    for (int i = 0; i <= 3; ++i)"),
 ('essid length counts blanks', 'src/config/encodings.cpp', "if (c.unicode() < 33 || c.unicode() > 126)", "if (c.unicode() < 32 || c.unicode() > 126)"),
 ('community not sent on connect', 'src/agent/device_session.cpp', '    device_.setCommunity(config::octetsFromText(community));\n', ''),
 ('privacy dialog: key 4 shows None', 'src/dialogs/wireless_privacy_controls.cpp', "keyId >= 1 && keyId <= 4 ?", "keyId >= 1 && keyId <= 3 ?"),
 ('error status accepted', 'src/snmp/request_engine.cpp', '    } else if (message.pdu.errorStatus != error_status::NoError) {', '    } else if (false) {'),
 ('answer names not checked', 'src/snmp/request_engine.cpp', '    } else if (!namesAsAsked(reply->request_.type, reply->request_.bindings, message.pdu.varBinds)) {', '    } else if (false) {'),
 ('directed connect takes any host', 'src/snmp/request_engine.cpp', '(reply->anyHost_ || reply->destination_ == sender)', '(true)'),
 ('commands run inside a download', 'src/agent/device_session.cpp', '    if (!deviceWorkRunning())\n        return false;\n    report(SessionReport::Busy);', '    if (true)\n        return false;\n    report(SessionReport::Busy);'),
 ('pending address kept', 'src/agent/download_job.cpp', '    device().setAddress(store.operIPAddress.trimmed());\n    store.pendingIPAddress.clear();\n', '    device().setAddress(store.operIPAddress.trimmed());\n'),
 ('guard off', 'src/snmp/request_engine.cpp', '    if (!loopback_guard::allows(reply->destination_)) {\n        const QString text', '    if (false) {\n        const QString text'),
 ('sim reports factory address', 'src/sim/simulated_access_point.cpp', "    if (!socket_ || !isIpv4 || !address_.isLoopback())\n        return;", "    return;"),
 ('dialog threshold 2347', 'src/config/encodings.h', "constexpr int kThresholdMaximum = 2346;", "constexpr int kThresholdMaximum = 2347;"),
 ('bridge mode keeps empty box', 'src/dialogs/frm_bridge_operational_mode.cpp', '    if (RemoteBridgeBSSIDMaskEdBox->storeText().isEmpty())\n        RemoteBridgeBSSIDMaskEdBox->setStoreText(device_.store().bridgeRemoteBridgeBSSID);', '    ;'),
 ('reset counts any answer', 'src/agent/set_job.cpp', 'if (result.ok() && (echo.isEmpty() || !config::echoMatches(sent, echo.first().value)))', 'if (result.ok() && echo.isEmpty())'),
 ('five probe resends become four', 'src/agent/probe_job.h', 'static constexpr int kProbes = 6;', 'static constexpr int kProbes = 5;'),
 ('failure text on pass 4', 'src/agent/device_session.cpp', '        if (ReadAttempt == kReadRetries) {', '        if (ReadAttempt == kReadRetries - 1) {'),
 ('download repeats four times', 'src/agent/download_job.h', 'static constexpr int kRepeats = 5;', 'static constexpr int kRepeats = 4;'),
 ('privacy before IP', 'src/config/device_objects.cpp', '{Group::WirelessOperational, Group::IPSettings, Group::Privacy,', '{Group::WirelessOperational, Group::Privacy, Group::IPSettings,'),
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
 ('options: OK does not apply polling', 'src/app/frm_options.cpp', '    session_.applyPolling(store.pollingInterval);\n', ''),
 ('polling: tick skips only an outstanding request', 'src/agent/device_session.cpp', '    if (deviceWorkRunning()) {\n        qCDebug(lcSession)', '    if (running(pass_)) {\n        qCDebug(lcSession)'),
 ('quick setup: timeout one tick late', Q, "if (ConnectTicks < kTicksBeforeTimeout)", "if (ConnectTicks <= kTicksBeforeTimeout)"),
 ('quick setup: any code counts as connected', 'src/quicksetup/frm_main2.cpp', 'if (config::regulationDomainName(store().sysDeviceInfo.regulationDomain).isEmpty())', 'if (store().sysDeviceInfo.regulationDomain == 0)'),
 ('quick setup: WEP status key number off by one', Q, 'return QStringLiteral("Enable Key=%1").arg(key + 1);', 'return QStringLiteral("Enable Key=%1").arg(key);'),
 ('quick setup: RTS marks the basic tab', Q, "connect(RTSThresholdText, &QLineEdit::textChanged, this, marks(BC1_OKCommand));", "connect(RTSThresholdText, &QLineEdit::textChanged, this, marks(BC_OKCommand));"),
 ('quick setup: reconnect keeps the old address', 'src/quicksetup/frm_main2.cpp', '        dialog->txtRemoteIP->setText(address);', '        ;'),
 ('quick setup: declined Apply keeps the typed address', Q, "    store.pendingIPAddress = pendingBefore;\n", ""),
 ('quick setup: basic tab stores fragmentation', 'src/quicksetup/wireless_tabs.cpp', '    store.operESSID = ESSIDtext->text();\n    session().device().noteEdits(config::Group::WirelessOperational, before);\n    return true;\n}\n\n// Every field', '    store.operESSID = ESSIDtext->text();\n    store.operFragmentationThreshold = FragmentationThresholdText->text().toInt();\n    session().device().noteEdits(config::Group::WirelessOperational, before);\n    return true;\n}\n\n// Every field'),
 ('quick setup: defaults short preamble', QW, "\n    LongPreambleOption->setChecked(true);\n    BothTypeOption", "\n    ShortPreambleOption->setChecked(true);\n    BothTypeOption"),
 ('quick setup: short list takes its last channel', QW, ": (ChannelCombo->count() > 0 ? 0 : -1);", ": ChannelCombo->count() - 1;"),
 ('trap entry: station in lower case', TE, "return bytes.toHex(' ').toUpper();", "return bytes.toHex(' ');"),
 ('trap entry: address text corrected', TE, '"The new IP Addres :"', '"The new IP Address :"'),
 ('trap entry: code 9 as a station trap', TE, "    case 8:\n    case 9:\n", "    case 8:\n"),
 ('traps: heard before the read', 'src/agent/device_session.h', 'QString managedDevice() const { return connected_ ? AgentAddress() : QString(); }', 'QString managedDevice() const { return AgentAddress(); }'),
 ('traps: log of 20000 emptied', TR, "if (TrapLog.size() > kTrapLogLimit)", "if (TrapLog.size() >= kTrapLogLimit)"),
 ('traps: file written with saving off', 'src/traps/trap_reception.cpp', '    if (savingToFile_ && savingToFile_()) {', '    if (true) {'),
 ('trap file: overwritten, not appended', 'src/traps/trap_log_file.cpp', "constexpr int kOpenFlags = O_WRONLY | O_APPEND | O_NONBLOCK", "constexpr int kOpenFlags = O_WRONLY | O_TRUNC | O_NONBLOCK"),
 ('trap switch: any echo counts', 'src/agent/set_job.cpp', '    if (object_->integer)\n        device().store().*object_->integer = value_;\n', ''),
 ('trap recorder: Clear all empties the log file too', 'src/dialogs/frm_trap_log.cpp', "    log_.TrapLog.clear();\n", "    log_.TrapLog.clear();\n    QFile::resize(log_.logFilePath(), 0);\n"),
 ('radio: CR31 of 80 refused', RC, "return value >= 128 && value <= 255;", "return value > 128 && value <= 255;"),
 ('radio: five runs', 'src/agent/radio_job.h', 'static constexpr int kRuns = 4;', 'static constexpr int kRuns = 5;'),
 ('radio: close resets before idle', 'src/agent/radio_job.cpp', 'case Action::CloseTest: steps_ = {Step::Command, Step::Reset}; break;', 'case Action::CloseTest: steps_ = {Step::Reset, Step::Command}; break;'),
 ('radio: configuration echo not compared', 'src/agent/radio_job.cpp', '            case Step::Write: taken = taken && text == value.bytes; break;', '            case Step::Write: break;'),
 ('test window: rate codes from 1', 'src/radiotest/frm_test_mode.cpp', '{RateOption, store.testModeRate, 0, radiotest::text::selectRate},', '{RateOption, store.testModeRate, 1, radiotest::text::selectRate},'),
 ('test window: clearing a mode repeats it', 'src/radiotest/frm_test_mode.cpp', 'runAction(checked ? action : Action::Idle);', 'runAction(action);'),
 ('radio window: boxes from the wrong places', RCW, "CR31edit[k]->setStoreText(text.mid(2 * k, 2));", "CR31edit[k]->setStoreText(text.mid(k, 2));"),
 ('help: no search page', 'src/app/help_window.cpp', '    navigation_->addTab(buildSearchPage(), QStringLiteral("&Search"));\n', ''),
 ('help: a new window per click', 'src/app/frm_main.cpp', "    if (!helpWindow_) {\n        const QString file", "    if (true) {\n        const QString file"),
]

# --- the kinds that once got through: equal values in a command's fields, a
# cached value never refreshed, a counter or flag kept from an earlier
# attempt, the details of the echo rules, the ends of ranges ---
AO='src/sim/apsim_options.cpp'
FAULTS += [
 ('test command: antenna and Tx filter swapped', RC, "        byteOf(store.testModeAntenna),\n        HexToBytes(store.testModeCR31, 1).at(0),\n        byteOf(store.testModeRate),\n        byteOf(store.testModeTxFilter),", "        byteOf(store.testModeTxFilter),\n        HexToBytes(store.testModeCR31, 1).at(0),\n        byteOf(store.testModeRate),\n        byteOf(store.testModeAntenna),"),
 ('writer: RTS sent as the fragmentation threshold', 'src/config/device_objects.cpp', 'list({"operChannelID", "operESSIDLength", "operESSID", "operRTSThreshold", "operFragmentationThreshold",', 'list({"operChannelID", "operESSIDLength", "operESSID", "operFragmentationThreshold", "operRTSThreshold",'),
 ('manager: resolved address kept for another host', 'src/agent/device.cpp', '    host_ = addressFromText(address).value_or(QHostAddress());\n', ''),
 ("manager: first sender's text kept", 'src/snmp/snmp_manager.cpp', "    if (from != lastSender_) {", "    if (lastSenderText_.isEmpty()) {"),
 ('second connect keeps the read attempts', 'src/agent/device_session.cpp', '    letGoOfDevice();\n    ReadAttempt = 0;\n', '    letGoOfDevice();\n'),
 ('connect keeps the old device', 'src/agent/device_session.cpp', '    if (connected_)\n        DisableDeviceMenus();\n    Timer2.stop();', '    Timer2.stop();'),
 ('ESSID echo compares the last character too', 'src/config/device_objects.cpp', 'echoed.left(bytes.size() - 1) == bytes.left(bytes.size() - 1)', 'echoed == bytes'),
 ('IP echo against the address before the new one', 'src/agent/download_job.cpp', '    if (group == Group::IPSettings && config::addressToSend(store) != store.operIPAddress.trimmed())\n        store.operIPAddress = store.pendingIPAddress;\n', ''),
 ('apsim: --error-status 5 refused', AO, "readInt(p.parser, p.errorStatus, 0, 5,", "readInt(p.parser, p.errorStatus, 0, 4,"),
 ('apsim: --drop-ratio 1 refused', AO, "f.dropRatio <= 1.0", "f.dropRatio < 1.0"),
 ('console: port 65535 refused', 'src/settings/command_line_options.cpp', "value > 65535", "value >= 65535"),
 ('polling: 30 seconds not a step', 'src/app/frm_options.cpp', 'return step < kPollingSteps ? step : -1;', 'return step < kPollingSteps - 1 ? step : -1;'),
]

# --- nothing unread, unchecked or stale is sent, every failure is seen, a
# lossy link works ---
FAULTS += [
 ('rejected group kept in the store', 'src/agent/read_job.cpp', '    if (decoded.verdict != config::StoreVerdict::Accepted) {', '    config::copyGroup(group, scratch, device().store());\n    if (decoded.verdict != config::StoreVerdict::Accepted) {'),
 ('device information fails silently', 'src/config/device_objects.cpp', '{G::HardConf, QStringLiteral("device information"), 1,', '{G::HardConf, QStringLiteral("device information"), 0,'),
 ('lost GET not sent again', 'src/agent/read_job.cpp', 'kTimeoutMs, tries_ - 1),', 'kTimeoutMs, 0),'),
 ('poll replaces edits', 'src/agent/read_job.cpp', '    while (next_ < groups_.size() && device().isEdited(groups_[next_]))', '    while (false && next_ < groups_.size() && device().isEdited(groups_[next_]))'),
 ('polling before a connect', 'src/agent/device_session.cpp', '    if (!connected_)\n        return;\n    // A pass started now', '    // A pass started now'),
 ('download sends a group not read', 'src/agent/download_job.cpp', '        if (!device.isRead(group))', '        if (false)'),
 ('download sends a refused value', 'src/agent/download_job.cpp', '        if (const config::DeviceObject *refused = config::firstRefusedObject(group, device.store()))', '        if (const config::DeviceObject *refused = nullptr)'),
 ('pending address kept after a failed download', 'src/agent/download_job.cpp', '    watchdog_.stop();\n    device().store().pendingIPAddress.clear();\n    finish(lastFailure_);', '    watchdog_.stop();\n    finish(lastFailure_);'),
 ('commands go to a device let go of', 'src/agent/device_session.cpp', 'bool DeviceSession::refuseWithoutDevice()\n{\n    if (connected_)', 'bool DeviceSession::refuseWithoutDevice()\n{\n    if (true)'),
 ('empty ESSID accepted', 'src/config/value_rules.cpp', "    if (text.isEmpty() || text.size() > 32", "    if (text.size() > 32"),
 ('bridge IP: address beyond 255 stored', BI, "{IPAddressText, config::dottedQuadFromText(IPAddressText->text()).has_value(), config::addressHint()}", "{IPAddressText, true, config::addressHint()}"),
 ('hex box takes any character', 'src/widgets/masked_hex_edit.cpp', 'QStringLiteral("hh") : QStringLiteral(" hh")', 'QStringLiteral("xx") : QStringLiteral(" xx")'),
 ('quick setup: Connect OK before the read is through', 'src/quicksetup/frm_main2.cpp', '    return session().Connected();', '    return true;'),
 ('quick setup: times out while reading', Q, "    else if (!session().fullReadRunning())", "    else"),
 ('quick setup: close cuts a download short', Q, "        if (session().downloadUnderWay()) {", "        if (false) {"),
 ('quick setup: repeat that got through ignored', 'src/quicksetup/frm_main2.cpp', '        if (applying_)\n            txtStatus->setText(dialogs::statusText(s.lastReport()));', '        applying_ = false;'),
 ('radio: Set before a read', RCW, "    SetCommand->setEnabled(false);\n", ""),
 ('test window: CR31 checked after the click', TM, "            CR31edit_LostFocus(reason == Qt::MouseFocusReason);", "            QMetaObject::invokeMethod(this, [this] { CR31edit_LostFocus(); }, Qt::QueuedConnection);"),
 ('test window: failed Close closes', TM, "    if (!normal) {", "    if (false) {"),
 ('pass phrase: Latin-1 only', 'src/config/wep_keys.cpp', "        if (kCodes80To9F[i] != 0 && kCodes80To9F[i] == character)", "        if (false)"),
]

# --- one core for many devices: typed results, devices that share nothing ---
FAULTS += [
 ('request ids shared between devices', 'src/agent/device.h', "    qint32 requestCounter_ = 0;", "    static inline qint32 requestCounter_ = 0;"),
 ('one store for every device', 'src/agent/device.h', "    config::ConfigurationStore store_;", "    static inline config::ConfigurationStore store_;"),
 ('a failed read does not say where', 'src/agent/read_job.cpp', "        result.group = group;\n        finish(result);", "        finish(result);"),
 ('a scan stops at the first device', 'src/agent/probe_job.cpp', "    if (!scanning_)\n        finish(JobResult());\n    else\n        stopped_ = true;", "    finish(JobResult());"),
 ('rejected text for any failure', 'src/dialogs/status_texts.cpp', "    if (result.error == agent::JobResult::Rejected && !group.rejectedText.isEmpty())", "    if (!group.rejectedText.isEmpty())"),
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

# --- installation: where the programs find their data and keep their log ---
FAULTS += [
 ('installed program logs beside itself', 'src/traps/trap_log_file.cpp', " && !config::runsInstalled(programFolder);", ";"),
 ('installed data folder not searched', 'src/config/data_locations.cpp', "QStringList folders{QDir::cleanPath(programFolder), installedDataFolder(programFolder)};", "QStringList folders{QDir::cleanPath(programFolder)};"),
 ('check: a refused trap port passes', 'src/app/installation_check.cpp', "    ok = opened.ok;", "    ok = true;"),
 ('trap address ignored', 'src/app/startup.cpp', "            return trapInstance.Open(trapAddress, port);", "            return trapInstance.Open(port);"),
]

# --- settings files, Find Devices, live statistics ---
FAULTS += [
 ('load: the file takes the device address', 'src/dialogs/configuration_file.cpp', "(!withAddresses && isAddressField(it.key()))", "(false)"),
 ('load: loaded values not edits waiting', 'src/dialogs/configuration_file.cpp', "        device.noteEdits(group, before);\n", ""),
 ('rates: a counter gone back gives a rate', 'src/config/statistics_history.cpp', "            if (reading.counters[index] < previous->counters[index])\n                backwards = true;\n            else\n", ""),
 ('find: a network with its broadcast address', 'src/agent/address_range.cpp', "        if (bits <= 30) {", "        if (bits <= 23) {"),
 ('connect dialog: last device at the end', 'src/dialogs/recent_devices.cpp', "    addresses.prepend(trimmed);", "    addresses.append(trimmed);"),
]

// wep-keys PHRASE: the four keys the window's pass phrase generator makes,
// as FIELD=VALUE arguments for set.

#include "command.h"

#include "config/wep_keys.h"

namespace ctl {

namespace {

class WepKeysCommand : public Command {
public:
    using Command::Command;

    int prepare(const CommandLine &line, QString &error) override
    {
        if (line.positional().size() != 1) {
            error = QStringLiteral("give one PHRASE (quote it when it holds blanks)");
            return BadInput;
        }
        phrase_ = line.positional().first();
        return Success;
    }

    void start() override
    {
        const std::array<QString, 4> keys = config::wepKeysFromPassPhrase(phrase_);
        for (int k = 0; k < 4; ++k)
            out() << "wep-key" << (k + 1) << '=' << keys[size_t(k)] << '\n';
        finish(Success);
    }

private:
    QString phrase_;
};

}  // namespace

CommandEntry wepKeysCommand()
{
    return {QStringLiteral("wep-keys"), QStringLiteral("PHRASE"),
            QStringLiteral("Make four WEP keys from a pass phrase.\n"
                           "The keys the quick-setup window makes, as arguments for set:\n  corvanectl set HOST $(corvanectl wep-keys 'our phrase') wep=on"),
            {},
            false,
            [](Context &context) { return new WepKeysCommand(context); }};
}

}  // namespace ctl

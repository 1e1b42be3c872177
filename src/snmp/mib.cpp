#include "mib.h"

#include "ber.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <utility>

Q_LOGGING_CATEGORY(lcMib, "corvane.snmp.mib")

// What is read of SMIv1 (RFC 1155, 1212, 1215): module headers, OBJECT
// IDENTIFIER assignments, OBJECT-TYPE and TRAP-TYPE macro invocations.
// Everything else that may stand in a module (IMPORTS, EXPORTS, MACRO
// definitions, type assignments and textual conventions, the SMIv2 macros)
// is stepped over.  Nothing here recurses and every loop advances through
// the token list, so no input can make the loader hang or overflow the stack.

namespace snmp {

namespace {

// Real modules are a few hundred kilobytes at most. A larger file is
// refused by its size alone, before a byte is read: parsing costs about
// 25 times the file's size in memory and a quarter second per MiB, so a
// stray file (or a hostile one) of a few MiB would stall the start-up.
constexpr qsizetype kMaxMibBytes = 1024 * 1024;

QString tooLargeError(const QString &source, qint64 size)
{
    return QStringLiteral("%1: %2 bytes, too large for a MIB module (at most %3)").arg(source).arg(size).arg(kMaxMibBytes);
}

enum class TokenKind {
    Word,      // identifier or keyword: letters, digits, '-', '_'
    Number,    // decimal, possibly negative
    String,    // "..." with doubled quotes undone
    Literal,   // 'hex'H or 'binary'B
    Symbol,    // ::=  ..  and single punctuation characters
    EndOfFile,
};

struct Token {
    TokenKind kind = TokenKind::EndOfFile;
    int line = 0;
    QByteArray text;
    quint8 role = 0;  // WordRole bits, words only
};

quint8 wordRole(const QByteArray &word);

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordChar(char c) { return isLetter(c) || isDigit(c) || c == '-' || c == '_'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Splits a module into tokens. Comments run from "--" to the end of the line
// or to the next "--"; "/* ... */" comments (newer ASN.1) are understood too.
class Lexer {
public:
    explicit Lexer(const QByteArray &text) : text_(text) {}

    bool run(QVector<Token> &tokens, int &errorLine, QString &error)
    {
        const qsizetype n = text_.size();
        while (true) {
            skipSpaceAndComments();
            if (!error_.isEmpty())
                break;
            if (pos_ >= n) {
                tokens.append(Token{TokenKind::EndOfFile, line_, {}});
                return true;
            }
            const char c = text_.at(pos_);
            const int startLine = line_;
            const qsizetype start = pos_;
            if (isLetter(c)) {
                ++pos_;
                while (pos_ < n && isWordChar(text_.at(pos_))) {
                    if (text_.at(pos_) == '-' && pos_ + 1 < n && text_.at(pos_ + 1) == '-')
                        break;  // a comment starts right after the word
                    ++pos_;
                }
                const QByteArray word = text_.mid(start, pos_ - start);
                tokens.append(Token{TokenKind::Word, startLine, word, wordRole(word)});
            } else if (isDigit(c) || (c == '-' && pos_ + 1 < n && isDigit(text_.at(pos_ + 1)))) {
                ++pos_;
                while (pos_ < n && isDigit(text_.at(pos_)))
                    ++pos_;
                tokens.append(Token{TokenKind::Number, startLine, text_.mid(start, pos_ - start)});
            } else if (c == '"') {
                QByteArray value;
                if (!readQuoted(value))
                    break;
                tokens.append(Token{TokenKind::String, startLine, value});
            } else if (c == '\'') {
                const qsizetype close = text_.indexOf('\'', pos_ + 1);
                if (close < 0) {
                    fail(startLine, QStringLiteral("unterminated quoted literal"));
                    break;
                }
                countLines(pos_, close);
                pos_ = close + 1;
                if (pos_ < n && isLetter(text_.at(pos_)))
                    ++pos_;  // the H or B that says how to read it
                tokens.append(Token{TokenKind::Literal, startLine, text_.mid(start, pos_ - start)});
            } else if (text_.mid(pos_, 3) == "::=") {
                pos_ += 3;
                tokens.append(Token{TokenKind::Symbol, startLine, QByteArrayLiteral("::=")});
            } else if (text_.mid(pos_, 2) == "..") {
                pos_ += 2;
                tokens.append(Token{TokenKind::Symbol, startLine, QByteArrayLiteral("..")});
            } else {
                ++pos_;
                tokens.append(Token{TokenKind::Symbol, startLine, QByteArray(1, c)});
            }
        }
        errorLine = errorLine_;
        error = error_;
        return false;
    }

private:
    void fail(int line, const QString &what)
    {
        if (error_.isEmpty()) {
            errorLine_ = line;
            error_ = what;
        }
    }

    void countLines(qsizetype from, qsizetype to)
    {
        for (qsizetype i = from; i < to; ++i)
            if (text_.at(i) == '\n')
                ++line_;
    }

    void skipSpaceAndComments()
    {
        const qsizetype n = text_.size();
        while (pos_ < n) {
            const char c = text_.at(pos_);
            if (isSpace(c)) {
                if (c == '\n')
                    ++line_;
                ++pos_;
            } else if (c == '-' && pos_ + 1 < n && text_.at(pos_ + 1) == '-') {
                skipDashComment();
            } else if (c == '/' && pos_ + 1 < n && text_.at(pos_ + 1) == '*') {
                if (!skipBlockComment())
                    return;
            } else {
                return;
            }
        }
    }

    void skipDashComment()
    {
        const qsizetype n = text_.size();
        pos_ += 2;
        while (pos_ < n) {
            const char c = text_.at(pos_);
            if (c == '\n' || c == '\r')
                return;  // the line end is counted by the caller
            if (c == '-' && pos_ + 1 < n && text_.at(pos_ + 1) == '-') {
                pos_ += 2;
                // "-----" rulers would otherwise leave a lone '-' behind;
                // a line that holds nothing but dashes after the comment
                // closed is still comment.
                // A line of many "-- " groups followed by text would be
                // scanned again from every group; the first scan's answer
                // holds for all of them.
                if (pos_ < notRulerBefore_)
                    return;
                qsizetype k = pos_;
                while (k < n && (text_.at(k) == '-' || text_.at(k) == ' ' || text_.at(k) == '\t'))
                    ++k;
                if (k >= n || text_.at(k) == '\n' || text_.at(k) == '\r')
                    pos_ = k;
                else
                    notRulerBefore_ = k;
                return;
            }
            ++pos_;
        }
    }

    bool skipBlockComment()
    {
        const int startLine = line_;
        const qsizetype n = text_.size();
        int depth = 0;
        while (pos_ < n) {
            if (text_.at(pos_) == '/' && pos_ + 1 < n && text_.at(pos_ + 1) == '*') {
                ++depth;
                pos_ += 2;
            } else if (text_.at(pos_) == '*' && pos_ + 1 < n && text_.at(pos_ + 1) == '/') {
                pos_ += 2;
                if (--depth == 0)
                    return true;
            } else {
                if (text_.at(pos_) == '\n')
                    ++line_;
                ++pos_;
            }
        }
        fail(startLine, QStringLiteral("unterminated comment"));
        return false;
    }

    // A quoted string; "" inside stands for one quote. Line breaks and
    // indentation are kept as written.
    bool readQuoted(QByteArray &value)
    {
        const int startLine = line_;
        const qsizetype n = text_.size();
        ++pos_;
        while (true) {
            const qsizetype close = text_.indexOf('"', pos_);
            if (close < 0) {
                fail(startLine, QStringLiteral("unterminated string"));
                return false;
            }
            countLines(pos_, close);
            value.append(text_.constData() + pos_, close - pos_);
            pos_ = close + 1;
            if (pos_ < n && text_.at(pos_) == '"') {
                value.append('"');
                ++pos_;
                continue;
            }
            return true;
        }
    }

    const QByteArray &text_;
    qsizetype pos_ = 0;
    qsizetype notRulerBefore_ = 0;  // text up to here is known not to be a ruler's tail
    int line_ = 1;
    int errorLine_ = 0;
    QString error_;
};

QString oidText(const QVector<quint32> &arcs)
{
    QString text;
    for (int i = 0; i < arcs.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('.');
        text += QString::number(arcs.at(i));
    }
    return text;
}

bool oidFromDotted(const QString &dotted, QVector<quint32> &arcs)
{
    arcs.clear();
    const auto parts = QStringView(dotted).split(QLatin1Char('.'));
    for (const auto &part : parts) {
        bool ok = false;
        const uint arc = part.toUInt(&ok);
        if (!ok)
            return false;
        arcs.append(arc);
    }
    return true;
}

// What a word means to the parser, worked out once per token.
enum WordRole : quint8 {
    Keyword = 1,          // reserved: never the name of an assignment
    OidValuedMacro = 2,   // SMIv2 macros whose value is an OID: their names
                          // get OIDs so that objects below them resolve
    ObjectTypeClause = 4, // starts a clause of OBJECT-TYPE
};

quint8 wordRole(const QByteArray &word)
{
    static const QHash<QByteArray, quint8> roles = [] {
        QHash<QByteArray, quint8> table;
        for (const char *keyword : {"ACCESS", "APPLICATION", "BEGIN", "CHOICE", "DEFINITIONS", "DEFVAL",
                                    "DESCRIPTION", "END", "ENTERPRISE", "EXPORTS", "FROM", "IDENTIFIER",
                                    "IMPLICIT", "IMPORTS", "INDEX", "INTEGER", "MACRO", "NULL", "OBJECT",
                                    "OBJECT-TYPE", "OCTET", "OF", "REFERENCE", "SEQUENCE", "SIZE", "STATUS",
                                    "STRING", "SYNTAX", "TRAP-TYPE", "VARIABLES"})
            table[keyword] |= Keyword;
        for (const char *macro : {"MODULE-IDENTITY", "OBJECT-IDENTITY", "NOTIFICATION-TYPE", "OBJECT-GROUP",
                                  "NOTIFICATION-GROUP", "MODULE-COMPLIANCE", "AGENT-CAPABILITIES"})
            table[macro] |= OidValuedMacro;
        for (const char *clause : {"SYNTAX", "ACCESS", "MAX-ACCESS", "STATUS", "DESCRIPTION", "REFERENCE",
                                   "INDEX", "AUGMENTS", "DEFVAL", "UNITS"})
            table[clause] |= ObjectTypeClause;
        return table;
    }();
    return roles.value(word, 0);
}

bool isOneOf(const QByteArray &word, std::initializer_list<const char *> choices)
{
    for (const char *choice : choices)
        if (word == choice)
            return true;
    return false;
}

}  // namespace

// Reads one file's worth of modules into a staging area; the Mib takes the
// result over only when the whole text was understood.
class MibParser {
public:
    MibParser(const QByteArray &text, QString sourceName)
        : text_(text), source_(std::move(sourceName)) {}

    bool parse();
    void commitTo(Mib &mib) const;
    QString error() const { return error_; }
    static void addKnownRoots(Mib &mib);

private:
    // One OID-valued assignment waiting for its parent to be resolved.
    struct Definition {
        QString name;
        QString parent;  // empty when the value starts with a number
        QVector<quint32> arcs;
        QVector<QPair<QString, int>> namedArcs;  // name(number): name, index in arcs
        int line = 0;
        bool isObject = false;
        Mib::ObjectDefinition object;
        QVector<quint32> resolved;
    };

    const Token &peek(int ahead = 0) const
    {
        const qsizetype i = qMin<qsizetype>(pos_ + ahead, tokens_.size() - 1);
        return tokens_.at(i);
    }
    const Token &next() { const Token &t = peek(); if (pos_ < tokens_.size() - 1) ++pos_; return t; }
    bool atWord(const char *word, int ahead = 0) const
    {
        const Token &t = peek(ahead);
        return t.kind == TokenKind::Word && t.text == word;
    }
    bool atSymbol(const char *symbol, int ahead = 0) const
    {
        const Token &t = peek(ahead);
        return t.kind == TokenKind::Symbol && t.text == symbol;
    }

    bool fail(int line, const QString &what)
    {
        if (error_.isEmpty())
            error_ = QStringLiteral("%1:%2: %3").arg(source_, QString::number(line), what);
        return false;
    }
    bool failHere(const QString &what) { return fail(peek().line, what); }
    static QString describe(const Token &t)
    {
        if (t.kind == TokenKind::EndOfFile)
            return QStringLiteral("end of file");
        if (t.kind == TokenKind::String)
            return QStringLiteral("a quoted string");
        if (t.kind == TokenKind::Literal)
            return QStringLiteral("a quoted literal");
        if (t.kind == TokenKind::Symbol) {
            const uchar c = uchar(t.text.at(0));
            if (c < 0x21 || c > 0x7e)  // keep control bytes out of messages
                return QStringLiteral("character 0x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        }
        return QLatin1Char('\'') + QString::fromLatin1(t.text) + QLatin1Char('\'');
    }
    bool expectSymbol(const char *symbol, const QString &context)
    {
        if (!atSymbol(symbol))
            return failHere(QStringLiteral("expected '%1' %2, found %3")
                                .arg(QLatin1String(symbol), context, describe(peek())));
        next();
        return true;
    }
    bool expectWord(const char *word, const QString &context)
    {
        if (!atWord(word))
            return failHere(QStringLiteral("expected %1 %2, found %3")
                                .arg(QLatin1String(word), context, describe(peek())));
        next();
        return true;
    }

    bool parseModule();
    bool parseAssignment();
    bool skipToSemicolon(const char *what);
    bool skipMacroDefinition();
    bool skipTypeAssignment();
    bool skipBalanced();
    bool startsAssignment(int at) const;
    bool declareName(const QString &name, int line);
    bool parseOidValue(Definition &def);
    bool parseObjectIdentifier();
    bool parseObjectType();
    bool parseTrapType();
    bool parseOidValuedMacro();
    bool readSyntax(QString &syntax);
    bool resolve();

    const QByteArray &text_;
    QString source_;
    QVector<Token> tokens_;
    qsizetype pos_ = 0;
    QString error_;

    QString moduleName_;
    QVector<Definition> definitions_;
    QHash<QString, int> definitionIndex_;
    QHash<QString, int> declaredAt_;  // every descriptor of the module -> line
    QVector<Mib::TrapDefinition> traps_;
    const Mib *known_ = nullptr;

    friend class Mib;
};

bool MibParser::parse()
{
    int line = 0;
    QString what;
    if (!Lexer(text_).run(tokens_, line, what))
        return fail(line, what);
    if (peek().kind == TokenKind::EndOfFile)
        return fail(peek().line, QStringLiteral("no module definition found"));
    while (peek().kind != TokenKind::EndOfFile) {
        if (!parseModule())
            return false;
    }
    return resolve();
}

bool MibParser::parseModule()
{
    const Token &name = next();
    if (name.kind != TokenKind::Word)
        return fail(name.line, QStringLiteral("expected a module name, found %1").arg(describe(name)));
    moduleName_ = QString::fromLatin1(name.text);
    if (atSymbol("{") && !skipBalanced())  // an ASN.1 module identifier
        return false;
    if (!expectWord("DEFINITIONS", QStringLiteral("after the module name"))
        || !expectSymbol("::=", QStringLiteral("after DEFINITIONS"))
        || !expectWord("BEGIN", QStringLiteral("after DEFINITIONS ::=")))
        return false;
    if (atWord("IMPORTS") && !skipToSemicolon("IMPORTS"))
        return false;
    if (atWord("EXPORTS") && !skipToSemicolon("EXPORTS"))
        return false;
    while (!atWord("END")) {
        if (peek().kind == TokenKind::EndOfFile)
            return failHere(QStringLiteral("module %1 is not closed by END").arg(moduleName_));
        if (!parseAssignment())
            return false;
    }
    next();
    return true;
}

bool MibParser::skipToSemicolon(const char *what)
{
    const int line = next().line;
    while (!atSymbol(";")) {
        if (peek().kind == TokenKind::EndOfFile || atWord("END"))
            return fail(line, QStringLiteral("%1 not closed by ';'").arg(QLatin1String(what)));
        next();
    }
    next();
    return true;
}

bool MibParser::parseAssignment()
{
    const Token &first = peek();
    if (first.kind != TokenKind::Word)
        return failHere(QStringLiteral("unexpected %1").arg(describe(first)));
    if (atWord("MACRO", 1))
        return skipMacroDefinition();
    if (atSymbol("::=", 1))
        return skipTypeAssignment();
    if (first.role & Keyword)
        return failHere(QStringLiteral("unexpected %1").arg(describe(first)));
    if (atWord("OBJECT", 1) && atWord("IDENTIFIER", 2))
        return parseObjectIdentifier();
    if (atWord("OBJECT-TYPE", 1))
        return parseObjectType();
    if (atWord("TRAP-TYPE", 1))
        return parseTrapType();
    if (peek(1).role & OidValuedMacro)
        return parseOidValuedMacro();
    return fail(peek(1).line, QStringLiteral("unexpected %1 after %2")
                                  .arg(describe(peek(1)), describe(first)));
}

bool MibParser::skipMacroDefinition()
{
    const int line = next().line;
    next();  // MACRO
    if (!expectSymbol("::=", QStringLiteral("after MACRO"))
        || !expectWord("BEGIN", QStringLiteral("after MACRO ::=")))
        return false;
    while (!atWord("END")) {
        if (peek().kind == TokenKind::EndOfFile)
            return fail(line, QStringLiteral("MACRO definition not closed by END"));
        next();
    }
    next();
    return true;
}

// Does a new assignment start at token `at` (relative to the current one)?
// Used to find where the right-hand side of a type assignment ends.
bool MibParser::startsAssignment(int at) const
{
    const Token &t = peek(at);
    if (t.kind != TokenKind::Word)
        return false;
    if (atSymbol("::=", at + 1) || atWord("MACRO", at + 1))
        return true;
    if (t.role & Keyword)
        return false;
    if (atWord("OBJECT", at + 1) && atWord("IDENTIFIER", at + 2) && atSymbol("::=", at + 3))
        return true;
    const Token &macro = peek(at + 1);
    return macro.kind == TokenKind::Word
        && (macro.text == "OBJECT-TYPE" || macro.text == "TRAP-TYPE" || (macro.role & OidValuedMacro));
}

// `Name ::= <type>`: type assignments and textual conventions are of no use
// for name lookup; their right-hand side runs to the next assignment or END.
bool MibParser::skipTypeAssignment()
{
    const int line = peek().line;
    next();  // the type name
    next();  // ::=
    int depth = 0;
    bool any = false;
    while (true) {
        const Token &t = peek();
        if (t.kind == TokenKind::EndOfFile)
            return fail(line, QStringLiteral("type assignment runs to the end of the file"));
        if (depth == 0 && any && (atWord("END") || startsAssignment(0)))
            return true;
        if (t.kind == TokenKind::Symbol) {
            const char c = t.text.at(0);
            if (c == '{' || c == '(' || c == '[') {
                ++depth;
            } else if (c == '}' || c == ')' || c == ']') {
                if (depth == 0)
                    return failHere(QStringLiteral("unbalanced %1").arg(describe(t)));
                --depth;
            }
        }
        any = true;
        next();
    }
}

// Steps over a bracketed group starting at the current '{', '(' or '['.
bool MibParser::skipBalanced()
{
    const int line = peek().line;
    int depth = 0;
    do {
        const Token &t = next();
        if (t.kind == TokenKind::EndOfFile)
            return fail(line, QStringLiteral("bracket opened here is never closed"));
        if (t.kind == TokenKind::Symbol) {
            const char c = t.text.at(0);
            if (c == '{' || c == '(' || c == '[')
                ++depth;
            else if (c == '}' || c == ')' || c == ']')
                --depth;
        }
    } while (depth > 0);
    return true;
}

bool MibParser::declareName(const QString &name, int line)
{
    const auto earlier = declaredAt_.constFind(name);
    if (earlier != declaredAt_.cend())
        return fail(line, QStringLiteral("'%1' is defined twice (first at line %2)").arg(name).arg(*earlier));
    declaredAt_.insert(name, line);
    return true;
}

// `{ parent 3 }`, `{ iso org(3) dod(6) 1 }` or `{ 1 3 6 1 }`.
bool MibParser::parseOidValue(Definition &def)
{
    const int open = peek().line;
    if (!expectSymbol("{", QStringLiteral("to start the object identifier value")))
        return false;
    bool first = true;
    while (!atSymbol("}")) {
        const Token &t = next();
        if (t.kind == TokenKind::Word && !(t.role & Keyword)) {
            const QString name = QString::fromLatin1(t.text);
            if (atSymbol("(")) {
                next();
                const Token &number = next();
                bool ok = number.kind == TokenKind::Number;
                const uint arc = ok ? number.text.toUInt(&ok) : 0;
                if (!ok)
                    return fail(number.line, QStringLiteral("expected an arc number in %1(...), found %2")
                                                 .arg(name, describe(number)));
                if (!expectSymbol(")", QStringLiteral("after the arc number")))
                    return false;
                def.arcs.append(arc);
                def.namedArcs.append({name, int(def.arcs.size() - 1)});
            } else if (first) {
                def.parent = name;
            } else {
                return fail(t.line, QStringLiteral("expected an arc number, found %1").arg(describe(t)));
            }
        } else if (t.kind == TokenKind::Number) {
            bool ok = false;
            const uint arc = t.text.toUInt(&ok);
            if (!ok)
                return fail(t.line, QStringLiteral("arc number %1 out of range").arg(QString::fromLatin1(t.text)));
            def.arcs.append(arc);
        } else if (t.kind == TokenKind::EndOfFile) {
            return fail(open, QStringLiteral("object identifier value not closed by '}'"));
        } else {
            return fail(t.line, QStringLiteral("unexpected %1 in an object identifier value").arg(describe(t)));
        }
        if (def.arcs.size() > kMaxOidArcs)
            return fail(t.line, QStringLiteral("object identifier longer than %1 arcs").arg(kMaxOidArcs));
        first = false;
    }
    next();
    if (first)
        return fail(open, QStringLiteral("empty object identifier value"));
    return true;
}

bool MibParser::parseObjectIdentifier()
{
    Definition def;
    const Token &name = next();
    def.name = QString::fromLatin1(name.text);
    def.line = name.line;
    next();  // OBJECT
    next();  // IDENTIFIER
    if (!expectSymbol("::=", QStringLiteral("after OBJECT IDENTIFIER")) || !parseOidValue(def)
        || !declareName(def.name, def.line))
        return false;
    definitionIndex_.insert(def.name, int(definitions_.size()));
    definitions_.append(std::move(def));
    return true;
}

// The SYNTAX clause is kept as text: the tokens up to the next clause,
// spaced the way MIB authors usually write them.
bool MibParser::readSyntax(QString &syntax)
{
    const int line = next().line;  // SYNTAX
    int depth = 0;
    const Token *previous = nullptr;
    while (true) {
        const Token &t = peek();
        if (t.kind == TokenKind::EndOfFile)
            return fail(line, QStringLiteral("SYNTAX runs to the end of the file"));
        if (depth == 0 && (atSymbol("::=") || (t.role & ObjectTypeClause)))
            break;
        if (t.kind == TokenKind::String)
            return failHere(QStringLiteral("unexpected quoted string in SYNTAX"));
        const char c = t.kind == TokenKind::Symbol ? t.text.at(0) : '\0';
        if (c == '{' || c == '(' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ')' || c == ']') {
            if (depth == 0)
                return failHere(QStringLiteral("unbalanced %1 in SYNTAX").arg(describe(t)));
            --depth;
        }
        if (previous) {
            const bool tight = c == ')' || c == ',' || t.text == ".."
                || previous->text == "(" || previous->text == ".."
                || (c == '(' && previous->kind == TokenKind::Word
                    && (previous->text == "SIZE" || (previous->text.at(0) >= 'a' && previous->text.at(0) <= 'z')));
            if (!tight)
                syntax += QLatin1Char(' ');
        }
        syntax += QString::fromLatin1(t.text);
        previous = &t;
        next();
    }
    if (syntax.isEmpty())
        return fail(line, QStringLiteral("SYNTAX without a type"));
    return true;
}

bool MibParser::parseObjectType()
{
    Definition def;
    const Token &name = next();
    def.name = QString::fromLatin1(name.text);
    def.line = name.line;
    def.isObject = true;
    next();  // OBJECT-TYPE
    bool haveSyntax = false;
    while (!atSymbol("::=")) {
        const Token &clause = peek();
        if (!(clause.role & ObjectTypeClause))
            return failHere(QStringLiteral("unexpected %1 in OBJECT-TYPE %2").arg(describe(clause), def.name));
        if (clause.text == "SYNTAX") {
            if (!readSyntax(def.object.syntax))
                return false;
            haveSyntax = true;
        } else if (isOneOf(clause.text, {"ACCESS", "MAX-ACCESS", "STATUS"})) {
            const bool isAccess = clause.text != "STATUS";
            next();
            const Token &value = next();
            const bool known = isAccess
                ? isOneOf(value.text, {"read-only", "read-write", "write-only", "not-accessible",
                                       "read-create", "accessible-for-notify"})
                : isOneOf(value.text, {"mandatory", "optional", "obsolete", "deprecated", "current"});
            if (value.kind != TokenKind::Word || !known)
                return fail(value.line, QStringLiteral("unknown %1 value %2")
                                            .arg(isAccess ? QStringLiteral("ACCESS") : QStringLiteral("STATUS"),
                                                 describe(value)));
            if (isAccess)
                def.object.access = QString::fromLatin1(value.text);
        } else if (isOneOf(clause.text, {"DESCRIPTION", "REFERENCE", "UNITS"})) {
            const QString keyword = QString::fromLatin1(clause.text);
            next();
            const Token &value = next();
            if (value.kind != TokenKind::String)
                return fail(value.line, QStringLiteral("expected a quoted string after %1, found %2")
                                            .arg(keyword, describe(value)));
            if (keyword == QLatin1String("DESCRIPTION"))
                def.object.description = QString::fromLatin1(value.text);
        } else {  // INDEX, AUGMENTS, DEFVAL
            const QString keyword = QString::fromLatin1(clause.text);
            next();
            if (!atSymbol("{"))
                return failHere(QStringLiteral("expected '{' after %1, found %2").arg(keyword, describe(peek())));
            if (!skipBalanced())
                return false;
        }
    }
    next();  // ::=
    if (!haveSyntax)
        return fail(def.line, QStringLiteral("OBJECT-TYPE %1 has no SYNTAX").arg(def.name));
    if (!parseOidValue(def) || !declareName(def.name, def.line))
        return false;
    def.object.name = def.name;
    definitionIndex_.insert(def.name, int(definitions_.size()));
    definitions_.append(std::move(def));
    return true;
}

bool MibParser::parseTrapType()
{
    Mib::TrapDefinition trap;
    const Token &name = next();
    const int line = name.line;
    trap.name = QString::fromLatin1(name.text);
    next();  // TRAP-TYPE
    while (!atSymbol("::=")) {
        const Token &clause = next();
        if (clause.kind == TokenKind::Word && clause.text == "ENTERPRISE") {
            const Token &enterprise = next();
            if (enterprise.kind != TokenKind::Word)
                return fail(enterprise.line, QStringLiteral("expected the enterprise name after ENTERPRISE, found %1")
                                                 .arg(describe(enterprise)));
            trap.enterprise = QString::fromLatin1(enterprise.text);
        } else if (clause.kind == TokenKind::Word && clause.text == "VARIABLES") {
            if (!expectSymbol("{", QStringLiteral("after VARIABLES")))
                return false;
            while (true) {
                const Token &variable = next();
                if (variable.kind != TokenKind::Word)
                    return fail(variable.line, QStringLiteral("expected an object name in VARIABLES, found %1")
                                                   .arg(describe(variable)));
                trap.variables.append(QString::fromLatin1(variable.text));
                if (atSymbol(","))
                    next();
                else if (atSymbol("}"))
                    break;
                else
                    return failHere(QStringLiteral("expected ',' or '}' in VARIABLES, found %1").arg(describe(peek())));
            }
            next();
        } else if (clause.kind == TokenKind::Word && isOneOf(clause.text, {"DESCRIPTION", "REFERENCE"})) {
            const Token &value = next();
            if (value.kind != TokenKind::String)
                return fail(value.line, QStringLiteral("expected a quoted string after %1, found %2")
                                            .arg(QString::fromLatin1(clause.text), describe(value)));
            if (clause.text == "DESCRIPTION")
                trap.Text = QString::fromLatin1(value.text);
        } else {
            return fail(clause.line, QStringLiteral("unexpected %1 in TRAP-TYPE %2").arg(describe(clause), trap.name));
        }
    }
    next();  // ::=
    if (trap.enterprise.isEmpty())
        return fail(line, QStringLiteral("TRAP-TYPE %1 has no ENTERPRISE").arg(trap.name));
    const Token &code = next();
    bool ok = code.kind == TokenKind::Number;
    const int value = ok ? code.text.toInt(&ok) : 0;
    if (!ok || value < 0)
        return fail(code.line, QStringLiteral("expected a trap number after ::=, found %1").arg(describe(code)));
    trap.code = value;
    if (!declareName(trap.name, line))
        return false;
    traps_.append(std::move(trap));
    return true;
}

// MODULE-IDENTITY, NOTIFICATION-TYPE and friends: only the name and the
// value matter here.
bool MibParser::parseOidValuedMacro()
{
    Definition def;
    const Token &name = next();
    def.name = QString::fromLatin1(name.text);
    def.line = name.line;
    next();  // the macro name
    int depth = 0;
    while (depth > 0 || !atSymbol("::=")) {
        const Token &t = next();
        if (t.kind == TokenKind::EndOfFile)
            return fail(def.line, QStringLiteral("%1 has no value").arg(def.name));
        if (t.kind == TokenKind::Symbol) {
            const char c = t.text.at(0);
            if (c == '{' || c == '(' || c == '[')
                ++depth;
            else if ((c == '}' || c == ')' || c == ']') && --depth < 0)
                return fail(t.line, QStringLiteral("unbalanced %1").arg(describe(t)));
        }
    }
    next();  // ::=
    if (!parseOidValue(def) || !declareName(def.name, def.line))
        return false;
    definitionIndex_.insert(def.name, int(definitions_.size()));
    definitions_.append(std::move(def));
    return true;
}

// Gives every definition its full OID. Parents may be defined later in the
// module, so each definition is walked up to a known name with an explicit
// stack: linear time, no recursion, and a cycle is reported instead of
// followed for ever.
bool MibParser::resolve()
{
    enum State : char { Open, Walking, Done };
    QVector<State> state(definitions_.size(), Open);
    QVector<int> stack;
    for (int start = 0; start < definitions_.size(); ++start) {
        if (state[start] == Done)
            continue;
        stack.clear();
        stack.append(start);
        state[start] = Walking;
        while (!stack.isEmpty()) {
            const int current = stack.last();
            Definition &def = definitions_[current];
            QVector<quint32> base;
            if (!def.parent.isEmpty()) {
                const auto local = definitionIndex_.constFind(def.parent);
                if (local != definitionIndex_.cend()) {
                    if (state[*local] == Walking)
                        return fail(def.line, QStringLiteral("'%1' is part of a circular definition").arg(def.name));
                    if (state[*local] == Open) {
                        state[*local] = Walking;
                        stack.append(*local);
                        continue;
                    }
                    base = definitions_.at(*local).resolved;
                } else {
                    const QString known = known_ ? known_->OidOf(def.parent) : QString();
                    if (known.isEmpty() || !oidFromDotted(known, base))
                        return fail(def.line, QStringLiteral("unknown parent '%1' of '%2'").arg(def.parent, def.name));
                }
            }
            if (base.size() + def.arcs.size() > kMaxOidArcs)
                return fail(def.line, QStringLiteral("object identifier of '%1' is longer than %2 arcs")
                                          .arg(def.name).arg(kMaxOidArcs));
            def.resolved = base + def.arcs;
            state[current] = Done;
            stack.removeLast();
        }
    }
    return true;
}

void MibParser::commitTo(Mib &mib) const
{
    auto assign = [&mib](const QString &name, const QString &oid) {
        const auto old = mib.oids_.constFind(name);
        if (old != mib.oids_.cend() && mib.names_.value(*old) == name)
            mib.names_.remove(*old);
        mib.oids_.insert(name, oid);
        mib.names_.insert(oid, name);
    };

    for (const Definition &def : definitions_) {
        const QString oid = oidText(def.resolved);
        assign(def.name, oid);
        if (def.isObject) {
            Mib::ObjectDefinition object = def.object;
            object.oid = oid;
            if (!mib.objects_.contains(def.name))
                mib.objectOrder_.append(def.name);
            mib.objects_.insert(def.name, object);
        } else if (mib.objects_.remove(def.name) > 0) {
            mib.objectOrder_.removeAll(def.name);
        }
    }
    // Names given in passing, as org(3) in { iso org(3) dod(6) 1 }, are
    // known afterwards unless something defines them properly.
    for (const Definition &def : definitions_) {
        for (const auto &named : def.namedArcs) {
            if (mib.oids_.contains(named.first) || declaredAt_.contains(named.first))
                continue;
            const int keep = int(def.resolved.size() - def.arcs.size()) + named.second + 1;
            assign(named.first, oidText(def.resolved.mid(0, keep)));
        }
    }

    // A trap number names one trap; the definition read last wins.
    QHash<qint32, int> trapIndex;
    for (int i = 0; i < mib.traps_.size(); ++i)
        trapIndex.insert(mib.traps_.at(i).code, i);
    for (const Mib::TrapDefinition &trap : traps_) {
        const auto at = trapIndex.constFind(trap.code);
        if (at != trapIndex.cend()) {
            mib.traps_[*at] = trap;
        } else {
            trapIndex.insert(trap.code, int(mib.traps_.size()));
            mib.traps_.append(trap);
        }
    }
    mib.moduleName_ = moduleName_;
    mib.moduleLoaded_ = true;
}

void MibParser::addKnownRoots(Mib &mib)
{
    static const char *const roots[][2] = {
        {"ccitt", "0"},
        {"iso", "1"},
        {"joint-iso-ccitt", "2"},
        {"org", "1.3"},
        {"dod", "1.3.6"},
        {"internet", "1.3.6.1"},
        {"directory", "1.3.6.1.1"},
        {"mgmt", "1.3.6.1.2"},
        {"mib-2", "1.3.6.1.2.1"},
        {"system", "1.3.6.1.2.1.1"},
        {"sysDescr", "1.3.6.1.2.1.1.1"},
        {"sysObjectID", "1.3.6.1.2.1.1.2"},
        {"sysUpTime", "1.3.6.1.2.1.1.3"},
        {"sysContact", "1.3.6.1.2.1.1.4"},
        {"sysName", "1.3.6.1.2.1.1.5"},
        {"sysLocation", "1.3.6.1.2.1.1.6"},
        {"sysServices", "1.3.6.1.2.1.1.7"},
        {"experimental", "1.3.6.1.3"},
        {"private", "1.3.6.1.4"},
        {"enterprises", "1.3.6.1.4.1"},
    };
    for (const auto &root : roots) {
        const QString name = QString::fromLatin1(root[0]);
        const QString oid = QString::fromLatin1(root[1]);
        mib.oids_.insert(name, oid);
        mib.names_.insert(oid, name);
    }
}

Mib::Mib()
{
    MibParser::addKnownRoots(*this);
}

Mib::LoadResult Mib::Load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {false, QStringLiteral("%1: no such file").arg(path)};
    if (!info.isFile())
        return {false, QStringLiteral("%1: not a file").arg(path)};
    if (info.size() > kMaxMibBytes)
        return {false, tooLargeError(path, info.size())};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("%1: cannot read: %2").arg(path, file.errorString())};
    const QByteArray text = file.read(kMaxMibBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("%1: cannot read: %2").arg(path, file.errorString())};
    if (text.size() > kMaxMibBytes)  // grew since it was looked at
        return {false, tooLargeError(path, file.size())};
    return loadText(text, path);
}

Mib::LoadResult Mib::loadText(const QByteArray &text, const QString &sourceName)
{
    if (text.size() > kMaxMibBytes)
        return {false, tooLargeError(sourceName, text.size())};
    MibParser parser(text, sourceName);
    parser.known_ = this;
    if (!parser.parse()) {
        qCWarning(lcMib).noquote() << parser.error();
        return {false, parser.error()};
    }
    parser.commitTo(*this);
    qCDebug(lcMib) << "loaded module" << moduleName_ << "from" << sourceName;
    return {true, QString()};
}

QString Mib::OidOf(const QString &name) const
{
    return oids_.value(name);
}

QString Mib::nameOf(const QString &oid) const
{
    return names_.value(oid);
}

const Mib::ObjectDefinition *Mib::object(const QString &name) const
{
    const auto it = objects_.constFind(name);
    return it == objects_.cend() ? nullptr : &*it;
}

QStringList Mib::objectNames() const
{
    return objectOrder_;
}

const Mib::TrapDefinition *Mib::trapDefinition(qint32 code) const
{
    for (const TrapDefinition &trap : traps_)
        if (trap.code == code)
            return &trap;
    return nullptr;
}

}  // namespace snmp

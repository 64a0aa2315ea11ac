#include "core/content/dat_builder.h"
#include "core/content/dat_parsers.h"

#include <cstring>

namespace tokenade {
namespace {

enum class TokenKind { Open, Close, Word, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // a word or a quoted string, without its quotes
    uint64_t line = 1;
    uint64_t column = 1;
};

// Reads `name ( key value ... rom ( key value ... ) )` blocks a character at
// a time, so that a large file never stands in memory whole.
class TextDatReader {
public:
    TextDatReader(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes)
        : source_(source), chunk_(first), builder_(DatFormat::ClrMamePro, bytes)
    {
        problem_.path = path;
    }

    DatRead read()
    {
        size_t blocks = 0;
        while (!failed_) {
            Token head = next();
            if (head.kind == TokenKind::End)
                break;
            if (head.kind != TokenKind::Word || next().kind != TokenKind::Open) {
                return failure(head, blocks == 0 ? "neither XML nor a ClrMamePro DAT: expected a name and \"(\""
                                                 : "expected a name and \"(\"");
            }
            ++blocks;
            if (head.text == "game" || head.text == "machine" || head.text == "resource")
                readGame(head);
            else if (head.text == "clrmamepro")
                readHeader();
            else
                skipBlock();
        }
        if (failed_)
            return {std::nullopt, problem_};
        DatIndex index;
        if (std::string problem = builder_.finish(index); !problem.empty())
            return failure(Token{TokenKind::End, "", line_, column_}, problem);
        return {std::move(index), {}};
    }

private:
    int peek()
    {
        while (at_ == chunk_.size()) {
            chunk_ = source_.next();
            at_ = 0;
            if (chunk_.empty())
                return -1;
        }
        return static_cast<unsigned char>(chunk_[at_]);
    }

    void advance()
    {
        if (chunk_[at_++] == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
    }

    Token next()
    {
        // Every control character separates, as a space does: a word never
        // begins at one, so that each token moves the reader on.
        int c = peek();
        while (c >= 0 && c <= ' ') {
            advance();
            c = peek();
        }
        Token token{TokenKind::End, "", line_, column_};
        if (c < 0)
            return token;
        if (c == '(' || c == ')') {
            advance();
            token.kind = c == '(' ? TokenKind::Open : TokenKind::Close;
            return token;
        }
        token.kind = TokenKind::Word;
        const bool quoted = c == '"';
        if (quoted)
            advance();
        for (c = peek(); c >= 0; c = peek()) {
            if (quoted ? c == '"' : (c <= ' ' || c == '(' || c == ')' || c == '"'))
                break;
            if (token.text.size() > kDatTextLimit) {
                fail(token, "a value longer than 4,096 bytes");
                return token;
            }
            token.text.push_back(static_cast<char>(c));
            advance();
        }
        if (quoted && c < 0)
            fail(token, "cut short: the file ends inside a quoted value");
        else if (quoted)
            advance();
        return token;
    }

    // The key-value pairs of a block up to its ")", each handed to `take`
    // with its value, or with a nested block's head (`nested`, the "(" read).
    template <typename Take>
    void readPairs(Take&& take)
    {
        while (!failed_) {
            const Token key = next();
            if (key.kind == TokenKind::Close)
                return;
            if (key.kind == TokenKind::End) {
                fail(key, "cut short: the file ends inside a block");
                return;
            }
            if (key.kind != TokenKind::Word) {
                fail(key, "a \"(\" where a name was expected");
                return;
            }
            const Token value = next();
            if (value.kind == TokenKind::End) {
                fail(value, "cut short: the file ends inside a block");
                return;
            }
            if (value.kind == TokenKind::Close) {
                fail(value, "\"" + key.text.substr(0, 40) + "\" without a value");
                return;
            }
            take(key, value);
        }
    }

    // Skips what follows an "(" up to its ")", whatever it holds: blocks a
    // reader does not need are not checked.
    void skipBlock()
    {
        for (size_t depth = 1; depth > 0 && !failed_;) {
            const Token token = next();
            if (token.kind == TokenKind::End)
                fail(token, "cut short: the file ends inside a block");
            depth += token.kind == TokenKind::Open;
            depth -= token.kind == TokenKind::Close;
        }
    }

    void readHeader()
    {
        readPairs([&](const Token& key, const Token& value) {
            if (value.kind == TokenKind::Open)
                skipBlock();
            else if (key.text == "name")
                builder_.setListName(value.text);
        });
    }

    void readGame(const Token& head)
    {
        check(head, builder_.startGame());
        // ClrMamePro writes the BIOSes other games run on as resources.
        if (!failed_)
            builder_.setIsBios(head.text == "resource");
        // Some DATs name a game only in its comment; where a game has a name
        // too, the comment is a remark.
        bool named = false;
        Token comment;
        readPairs([&](const Token& key, const Token& value) {
            if (value.kind == TokenKind::Open) {
                if (key.text == "rom")
                    readRom(key);
                else if (key.text == "disk")
                    readDisk(key);
                else
                    skipBlock();
            } else if (key.text == "name") {
                named = true;
                check(value, builder_.setName(value.text));
            } else if (key.text == "comment" && comment.kind == TokenKind::End) {
                comment = value;
            } else if (key.text == "description") {
                check(value, builder_.setDescription(value.text));
            } else if (key.text == "cloneof") {
                check(value, builder_.setCloneOf(value.text));
            } else if (key.text == "romof") {
                check(value, builder_.setRomOf(value.text));
            } else if (key.text == "device_ref") {
                check(value, builder_.addDeviceRef(value.text));
            }
        });
        if (!failed_ && !named && comment.kind == TokenKind::Word)
            check(comment, builder_.setName(comment.text));
        if (!failed_)
            check(head, builder_.endGame());
    }

    void readRom(const Token& head)
    {
        // The values live here until the ")", since the fields view them.
        Token name, size, crc, sha1, status, merge, bios, optional;
        RomFields rom;
        readPairs([&](const Token& key, const Token& value) {
            if (value.kind == TokenKind::Open)
                skipBlock();
            else if (key.text == "name")
                name = value;
            else if (key.text == "size")
                size = value, rom.hasSize = true;
            else if (key.text == "crc")
                crc = value, rom.hasCrc = true;
            else if (key.text == "sha1")
                sha1 = value;
            else
                takeFileKey(key, value, status, merge, optional, bios);
        });
        if (failed_)
            return;
        rom.name = name.text;
        rom.size = size.text;
        rom.crc = crc.text;
        rom.sha1 = sha1.text;
        rom.status = status.text;
        rom.merge = merge.text;
        rom.bios = bios.text;
        rom.optional = optional.text;
        const std::string problem = builder_.addRom(rom);
        check(problem.starts_with("a size") ? size : problem.starts_with("a CRC") ? crc : head, problem);
    }

    void readDisk(const Token& head)
    {
        Token name, sha1, status, merge, optional, unused;
        readPairs([&](const Token& key, const Token& value) {
            if (value.kind == TokenKind::Open)
                skipBlock();
            else if (key.text == "name")
                name = value;
            else if (key.text == "sha1")
                sha1 = value;
            else
                takeFileKey(key, value, status, merge, optional, unused);
        });
        if (!failed_)
            check(head, builder_.addDisk({name.text, sha1.text, merge.text, status.text, optional.text}));
    }

    // The keys roms and disks share. "flags" is the older word for the
    // status; "optional" may also stand among the flags.
    static void takeFileKey(const Token& key, const Token& value, Token& status, Token& merge, Token& optional,
                            Token& bios)
    {
        if (key.text == "status" || key.text == "flags") {
            if (value.text == "optional")
                optional.text = "yes";
            else
                status = value;
        } else if (key.text == "merge") {
            merge = value;
        } else if (key.text == "bios") {
            bios = value;
        } else if (key.text == "optional") {
            optional = value;
        }
    }

    void check(const Token& where, const std::string& problem)
    {
        if (!problem.empty())
            fail(where, problem);
    }

    void fail(const Token& where, std::string reason)
    {
        if (failed_)
            return;
        failed_ = true;
        problem_.line = where.line;
        problem_.column = where.column;
        problem_.reason = std::move(reason);
    }

    DatRead failure(const Token& where, std::string reason)
    {
        fail(where, std::move(reason));
        return {std::nullopt, problem_};
    }

    DatSource& source_;
    std::string_view chunk_;
    size_t at_ = 0;
    uint64_t line_ = 1;
    uint64_t column_ = 1;
    DatBuilder builder_;
    bool failed_ = false;
    DatProblem problem_;
};

}  // namespace

DatRead parseTextDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes)
{
    return TextDatReader(source, first, path, bytes).read();
}

}  // namespace tokenade

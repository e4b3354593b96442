#include "PrizeBoardJson.h"

#include "JsonText.h"

namespace zorvi {

namespace {

// Appends `"key":` after a comma unless the object has only just begun.
void Key(std::string& out, const char* key) {
    if (out.back() != '{')
        out += ',';
    out += '"';
    out += key;
    out += "\":";
}

void Field(std::string& out, const char* key, const std::string& text) {
    Key(out, key);
    out += JsonString(text);
}

void Field(std::string& out, const char* key, int n) {
    Key(out, key);
    out += std::to_string(n);
}

void AppendTexts(std::string& out, const PageTexts& texts) {
    out += '{';
    Field(out, "fi", texts.fi);
    Field(out, "sv", texts.sv);
    Field(out, "en", texts.en);
    out += '}';
}

} // namespace

std::string PrizeBoardJson(const PagePrizeBoard& board) {
    std::string out = "{";
    Field(out, "game", board.game);
    Field(out, "games", board.games);
    Field(out, "name", board.name);
    Field(out, "numberCount", board.numberCount);
    Key(out, "between");
    out += board.between ? "true" : "false";
    Field(out, "stage", board.stage);
    Field(out, "stages", board.stages);
    Key(out, "pattern");
    out += '{';
    Key(out, "name");
    AppendTexts(out, board.pattern.name);
    Field(out, "squares", board.pattern.squares);
    Key(out, "masks");
    out += '[';
    for (std::size_t i = 0; i < board.pattern.masks.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(board.pattern.masks[i]);
    }
    out += "]}";
    Field(out, "prize", board.prize);
    Field(out, "jackpotWithin", board.jackpotWithin);
    Field(out, "jackpotPrize", board.jackpotPrize);
    Field(out, "called", board.called);
    Key(out, "next");
    out += '[';
    for (std::size_t i = 0; i < board.next.size(); ++i) {
        const PageNextGame& next = board.next[i];
        out += i > 0 ? ",{" : "{";
        Field(out, "number", next.number);
        Field(out, "name", next.name);
        Key(out, "stages");
        out += '[';
        for (std::size_t k = 0; k < next.stages.size(); ++k) {
            if (k > 0)
                out += ',';
            AppendTexts(out, next.stages[k]);
        }
        out += ']';
        Field(out, "prize", next.prize);
        out += '}';
    }
    out += "]}";
    return out;
}

} // namespace zorvi

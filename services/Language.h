#pragma once

#include <optional>
#include <string>

namespace zorvi {

// Entries of the language table, in table order.
enum class TextId {
    TXT_NUMBER_LIMIT_FOR_GAME,
    TXT_LOTTERY_OFF,
    TXT_LOTTERY_ON,
    TXT_AUTOSPEED,
    TXT_AUTOMATIC,
    TXT_BINGO,
    TXT_WRONG,
    TXT_DRAWN_NUMBERS,
    TXT_CANCEL,
    TXT_CANCEL_NUMBER,
    TXT_CLOSE_ESC,
    TXT_ARE_YOU_SURE,
    TXT_CONFIRM_CANCEL_NUMBER,
    TXT_CONFIRM_CHANGE_ROW,
    TXT_CONFIRM_CLOSE,
    TXT_CONFIRM_CLOSE_GAME_ON,
    TXT_CONFIRM_NEW_GAME,
    TXT_COUPON_SERIES,
    TXT_GRID,
    TXT_DISABLE_ANIMATION,
    TXT_EXIT,
    TXT_FREE_MIDDLE,
    TXT_SHOW_GAME_LOG,
    TXT_CHECK,
    TXT_HEIGHT,
    TXT_LANGUAGE,
    TXT_NEW_GAME,
    TXT_NUMBER,
    TXT_DRAW_SPACEBAR,
    TXT_START_SPACEBAR,
    TXT_STOP_SPACEBAR,
    TXT_NO,
    TXT_NUMBER_COUNT,
    TXT_LETTER_B,
    TXT_LETTER_G,
    TXT_LETTER_I,
    TXT_LETTER_N,
    TXT_LETTER_O,
    TXT_LETTER_S,
    TXT_PREVIOUS_NUMBER,
    TXT_PROGRAM_STARTING,
    TXT_PUBLIC_SCREEN,
    TXT_PUBLIC_SCREEN_DISABLED,
    TXT_PUBLIC_SCREEN_OTHER,
    TXT_PUBLIC_SCREEN_SAME,
    TXT_ROW,
    TXT_SETTINGS,
    TXT_SHOW_DRAWN_NUMBERS,
    TXT_FULLSCREEN,
    TXT_WINDOWED,
    TXT_VOICE,
    TXT_NO_VOICES,
    TXT_VOLUME,
    TXT_PLEASE_WAIT,
    TXT_WIDTH,
    TXT_WINNERS,
    TXT_YES,
    TXT_LOAD_PREVIOUS_STATE,
    TXT_NUMBER_LIMIT,
    TXT_SKIP_NUMBER_LIMIT,
    TXT_COUPON_NOT_IN_SERIES, // %1 the coupon number, %2 the last coupon of the series
    TXT_COUPONS_IN_PLAY,
    TXT_COUPONS_TOO_LONG,       // %1 the longest text taken
    TXT_COUPONS_NOT_A_RANGE,    // %1 the part as typed
    TXT_COUPONS_MISSING_NUMBER, // %1 the part as typed
    TXT_COUPONS_OUT_OF_RANGE,   // %1 the number as typed, %2 the highest coupon number
    TXT_COUPONS_REVERSED,       // %1 the part as typed
    TXT_WINNING_NOW,            // %1 how many coupons hold a bingo now, %2 the first of them
    TXT_HALL_SERVER,
    TXT_HALL_SERVER_PORT,
    TXT_HALL_SERVER_ADDRESS,
    TXT_HALL_SERVER_ALL_ADDRESSES,
    TXT_HALL_SERVER_SHOWN_AT,     // %1 screens on the feed, %2 the address browsers open
    TXT_HALL_SERVER_START_FAILED, // %1 the port, %2 the system's reason
    TXT_COUPONS_BEYOND_SERIES,    // %1 the highest coupon in play, %2 the series' last coupon
    // Balls from the hall's ball machine.
    TXT_BALL_SOURCE,          // settings: where the balls come from
    TXT_BALL_SOURCE_COMPUTER, // this computer's draw
    TXT_BALL_SOURCE_MACHINE,  // the hall's ball machine
    TXT_CONFIRM_BOARD_ENTRY,  // settings: a click on the board asks first
    TXT_BALL,                 // the entry field's label
    TXT_CONFIRM_ENTER_BALL,   // %1 the ball clicked on the board
    TXT_BALL_OUT_OF_RANGE,    // %1 the entry, %2 the highest ball of the game
    TXT_BALL_ALREADY_DRAWN,   // %1 the ball
    TXT_BALL_GAME_OVER,       // no ball is taken: the game has ended or reached its limit
    TXT_CONFIRM_RECALL_BALL,  // the cancel of the last number, as a recall
    // The evening's programme.
    TXT_CONFIRM_NEXT_GAME, // on to the programme's next game
    TXT_NEXT_GAME,         // its button
    TXT_PROGRAMME,
    TXT_PROGRAMME_LINE_GAME,
    TXT_PROGRAMME_LINE_STAGE,
    TXT_PROGRAMME_LINE_JACKPOT,
    TXT_PROGRAMME_LINE_OVER,
    TXT_PROGRAMME_LINE_NEXT,
    TXT_PROGRAMME_LINE_LAST,
    TXT_PROGRAMME_FILE_REFUSED,
    TXT_PROGRAMME_LAST_GOOD_PLAYED,
    TXT_PROGRAMME_NONE_PLAYED,
    TXT_PROGRAMME_NAME,
    TXT_PROGRAMME_CURRENCY,
    TXT_PROGRAMME_GAMES,
    TXT_PROGRAMME_GAME_NAME,
    TXT_PROGRAMME_NUMBERS,
    TXT_PROGRAMME_STAGES,
    TXT_PROGRAMME_PATTERN,
    TXT_PROGRAMME_PRIZE,
    TXT_PROGRAMME_ADD,
    TXT_PROGRAMME_REMOVE,
    TXT_PROGRAMME_UP,
    TXT_PROGRAMME_DOWN,
    TXT_PROGRAMME_JACKPOT,
    TXT_PROGRAMME_JACKPOT_WITHIN,
    TXT_PROGRAMME_JACKPOT_PRIZE,
    TXT_PROGRAMME_JACKPOT_STEP,
    TXT_PROGRAMME_JACKPOT_PRIZE_STEP,
    TXT_PROGRAMME_JACKPOT_CAP,
    TXT_PROGRAMME_DRAW_PATTERN,
    TXT_PROGRAMME_PATTERN_NAME,
    TXT_PROGRAMME_ADD_PATTERN,
    TXT_PROGRAMME_PATTERN_REFUSED,
    TXT_PROGRAMME_SAVE,
    TXT_PROGRAMME_IMPORT,
    TXT_PROGRAMME_EXPORT,
    TXT_PROGRAMME_REMOVE_ALL,
    TXT_PROGRAMME_CLOSE,
    TXT_PROGRAMME_SAVED,
    TXT_PROGRAMME_SAVE_FAILED,
    TXT_PROGRAMME_EXPORT_FAILED,
    TXT_PROGRAMME_NOT_WRITABLE,
    TXT_PROGRAMME_NO_GAME_NAME,
    TXT_PROGRAMME_SAME_GAME_NAME,
    TXT_CONFIRM_REMOVE_PROGRAMME,
    TXT_PROGRAMME_REMOVE_FAILED,
    TXT_CONFIRM_CLOSE_UNSAVED,
    TXT_PROGRAMME_IMPORTED,
    Count
};

// The table of every user-interface text in Finnish (0), Swedish (1) and English (2).
class Language {
public:
    virtual ~Language() = default;

    // The entry's text; a language index outside 0 to 2 gives the Finnish text.
    static const std::string& GetText(TextId entry, int language);
    // The letter-name entry of a drawn number (B 1-15 ... O 61-75, S 76-90), or none.
    static std::optional<TextId> GetLetterName(int number);
};

} // namespace zorvi

#pragma once
// The two upper levels of the formula grammar (sums, and products with "/",
// "%", "^" and implicit multiplication) over an expression text held in place.
// The tokens and primaries are a dialect's: see calc_var.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

class calc {
public:
    // The evaluator's failures; evaluation stops where one is thrown. Their
    // texts are static and cp1251, as the evaluator has always worded them.
    struct SyntaxError : std::exception {
        explicit SyntaxError(const char* text) : message(text) {}
        const char* what() const noexcept override { return message; }
        const char* message;
    };
    struct MathError : std::exception {
        explicit MathError(const char* text) : message(text) {}
        const char* what() const noexcept override { return message; }
        const char* message;
    };
    struct divzero : std::exception {
        const char* what() const noexcept override { return "divzero"; }
    };

    enum TokenKind : std::uint8_t {
        Number = 1,
        Operator = 2,
        Name = 3,
        End = 4,
        Variable = 5,
        Separator = 6,
    };

    static constexpr int MaxExpression = 255;
    static constexpr int MaxToken = 15;

    constexpr calc() = default;
    virtual ~calc() = default;

    // The position points into the object itself, so a copy would read its
    // original's text.
    calc(const calc&) = delete;
    calc& operator=(const calc&) = delete;

    // Takes the first 255 characters of text (a zero byte ends it earlier) and
    // starts reading from its beginning.
    void set_expression(std::string_view text);

    // After an evaluation that gave a value: how many characters of the
    // expression text it read. Fewer than the text holds means a character
    // that starts no token ended the reading there.
    std::size_t read_length() const { return static_cast<std::size_t>(position - expression_text); }

protected:
    // Reads one token at the position into token_kind and token_text.
    virtual void get_token() = 0;
    // Reads the next token and returns the value of the primary it starts.
    virtual double primary() = 0;

    double expression();
    double term();

    std::uint8_t token_kind = End;
    const char* position = expression_text;
    char token_text[MaxToken + 1] = {};
    char expression_text[MaxExpression + 1] = {};
};

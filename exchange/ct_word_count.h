// Counts what a translator is paid for in one story's tagged content: words and characters of
// the text, with codes (<gN>, </gN>, <xN/>) left out and escapes (\\, \<, \>) read as the
// characters they stand for. One counter holds one ICU word break iterator: it is cheap to
// reuse and must not be shared between threads (make one per thread).
//
// Words as common counting tools (translate-toolkit's pocount among them) count them, so that
// the numbers a translator's tools show agree: a run of text between white space (of any kind)
// or object codes is one word unless it is only common punctuation (. , ; : ! ? - ( ) quotes
// and the like), so that "well-known", "don't", "3.5", "50%", "&", "=" and a dash standing
// alone are one word each; a full stop between two characters that are not digits stands for
// a break, taking those two characters with it, as those tools have it ("www.adobe.com" is
// three words). Text in scripts written without spaces (Chinese, Japanese kana and
// ideographs, Thai and its neighbours) is cut into words by ICU's dictionaries, and each of
// those counts as one word (there those tools count a whole run as one). Paired codes join
// what they stand between ("Sum<g1>mer</g1>" is one word); <xN/> stands for an object, a tab
// or a break and separates words.
// Characters: user-perceived characters (grapheme clusters) other than white space.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct CT_TextCount {
    std::size_t n_Words = 0;
    std::size_t n_Characters = 0;

    CT_TextCount& operator+=(const CT_TextCount& co_Other) {
        n_Words += co_Other.n_Words;
        n_Characters += co_Other.n_Characters;
        return *this;
    }
    bool operator==(const CT_TextCount& co_Other) const {
        return n_Words == co_Other.n_Words && n_Characters == co_Other.n_Characters;
    }
};

class CT_WordCount {
  public:
    // co_Locale: an ICU or BCP 47 locale name ("fr", "ja-JP"); empty for ICU's root rules,
    // which already cut Chinese, Japanese and Thai by dictionary.
    explicit CT_WordCount(const std::string& co_Locale = std::string());
    ~CT_WordCount();
    CT_WordCount(const CT_WordCount&) = delete;
    CT_WordCount& operator=(const CT_WordCount&) = delete;

    // Counts tagged content as a story file holds it (UTF-8). A "<" that starts no code and a
    // lone "\" are counted as the text they are; bytes that are not UTF-8 count as one
    // character each.
    CT_TextCount co_CountTagged(std::string_view co_Content);
    // Its characters alone, as co_CountTagged counts them, in less time.
    std::size_t n_CountTaggedCharacters(std::string_view co_Content);

    // Counts plain UTF-8 text: no codes, no escapes.
    CT_TextCount co_CountText(std::string_view co_Text);

    // Whether the text holds a letter of any script: something a translator can translate.
    // Numbers, punctuation and spaces alone are not.
    static bool sb_HasLetter(std::string_view co_Text);
    // Whether the text holds a digit of any script (a decimal number's).
    static bool sb_HasDigit(std::string_view co_Text);

  private:
    // One piece of text between blanks, remembered; and any text, counted by ICU at once.
    CT_TextCount co_CountPiece(std::string_view co_Piece);
    CT_TextCount co_CountWhole(std::string_view co_Text);
    std::size_t n_Words(std::string_view co_Text);
    std::size_t n_Characters(std::string_view co_Text);
    // The text of tagged content; a view of the content or of pco_Iterators' buffer.
    std::string_view co_PlainOf(std::string_view co_Content);

    struct ct_Iterators;  // ICU's and the pieces met before, kept out of this header
    std::unique_ptr<ct_Iterators> pco_Iterators;
};

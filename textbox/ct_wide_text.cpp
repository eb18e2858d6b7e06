#include "textbox/ct_wide_text.h"

namespace {

bool b_IsHighSurrogate(char16_t c_Unit) {
    return c_Unit >= 0xD800 && c_Unit <= 0xDBFF;
}

// Writes units into a buffer from a given length on, dropping whatever does not fit.
class CT_BoundedWriter {
  public:
    CT_BoundedWriter(char16_t* puz_Target, std::size_t n_Size, std::size_t n_Start)
        : puz_Buffer(puz_Target), n_Capacity(n_Size), n_Length(n_Start) {}

    void v_Put(char16_t c_Unit) {
        if (n_Length + 1 >= n_Capacity) {
            b_Cut = true;
            return;
        }
        puz_Buffer[n_Length++] = c_Unit;
    }

    void v_PutNumber(long long i_Number) {
        unsigned long long n_value = i_Number < 0 ? 0ULL - static_cast<unsigned long long>(i_Number)
                                                  : static_cast<unsigned long long>(i_Number);
        char16_t auz_digits[24];
        int i_count = 0;
        do {
            auz_digits[i_count++] = static_cast<char16_t>(u'0' + n_value % 10);
            n_value /= 10;
        } while (n_value != 0);
        if (i_Number < 0) {
            v_Put(u'-');
        }
        while (i_count > 0) {
            v_Put(auz_digits[--i_count]);
        }
    }

    void v_Finish() {
        if (n_Capacity == 0) {
            return;
        }
        if (b_Cut && n_Length > 0 && b_IsHighSurrogate(puz_Buffer[n_Length - 1])) {
            --n_Length;
        }
        puz_Buffer[n_Length] = u'\0';
    }

  private:
    char16_t* puz_Buffer;
    std::size_t n_Capacity;
    std::size_t n_Length;
    bool b_Cut = false;
};

}  // namespace

std::size_t CT_WideText::sn_Length(const char16_t* quz_Text) {
    std::size_t n_length = 0;
    while (quz_Text[n_length] != u'\0') {
        ++n_length;
    }
    return n_length;
}

void CT_WideText::sv_Append(char16_t* puz_Buffer, std::size_t n_Capacity,
                            const char16_t* quz_Text) {
    std::size_t n_length = 0;
    while (n_length < n_Capacity && puz_Buffer[n_length] != u'\0') {
        ++n_length;
    }
    if (n_length == n_Capacity) {
        return;  // not terminated within its capacity: nothing can be added safely
    }
    CT_BoundedWriter co_writer(puz_Buffer, n_Capacity, n_length);
    for (const char16_t* quz_unit = quz_Text; *quz_unit != u'\0'; ++quz_unit) {
        co_writer.v_Put(*quz_unit);
    }
    co_writer.v_Finish();
}

void CT_WideText::sv_FormatNumber(char16_t* puz_Buffer, std::size_t n_Capacity,
                                  const char16_t* quz_Format, long long i_Number) {
    CT_BoundedWriter co_writer(puz_Buffer, n_Capacity, 0);
    for (const char16_t* quz_unit = quz_Format; *quz_unit != u'\0'; ++quz_unit) {
        if (quz_unit[0] == u'%' && quz_unit[1] == u'd') {
            co_writer.v_PutNumber(i_Number);
            ++quz_unit;
        } else if (quz_unit[0] == u'%' && quz_unit[1] == u'%') {
            co_writer.v_Put(u'%');
            ++quz_unit;
        } else {
            co_writer.v_Put(*quz_unit);
        }
    }
    co_writer.v_Finish();
}

// Packs entry data with deflate as zip entries store it (no zlib header), reusing one compressor
// and one output buffer for every entry: setting a compressor up costs more than packing a
// typical story. Owns its compressor.
#pragma once

#include <string>

struct libdeflate_compressor;

class CT_IdmlDeflater {
  public:
    CT_IdmlDeflater();
    ~CT_IdmlDeflater();
    CT_IdmlDeflater(const CT_IdmlDeflater&) = delete;
    CT_IdmlDeflater& operator=(const CT_IdmlDeflater&) = delete;

    // The packed form of the bytes; e_HostFailure when the compressor fails.
    std::string s_Pack(const std::string& s_Data);
    // One for the calling thread, kept for the thread's life.
    static CT_IdmlDeflater& sco_ThisThread();

  private:
    libdeflate_compressor* pco_Compressor;
    std::string s_Buffer;  // as large as the largest entry's bound so far
};

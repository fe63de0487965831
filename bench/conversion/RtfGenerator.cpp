#include "RtfGenerator.h"

#include <array>
#include <random>
#include <string_view>

namespace penlark::bench {
namespace {

constexpr std::string_view kPreamble =
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff0\\deff0\\stshfdbch0\\stshfloch31506"
    "\\stshfhich31506\\stshfbi0\\deflang1033\\deflangfe1033\\themelang1033\\themelangfe0"
    "\\themelangcs0{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose "
    "02020603050405020304}Times New Roman;}\r\n{\\f1\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose "
    "020b0604020202020204}Arial;}{\\f2\\fbidi \\fmodern\\fcharset0\\fprq1{\\*\\panose "
    "02070309020205020404}Courier New;}\r\n{\\f3\\fbidi \\froman\\fcharset2\\fprq2{\\*\\panose "
    "05050102010706020507}Symbol;}{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose "
    "020f0502020204030204}Calibri;}}\r\n{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;"
    "\\red0\\green255\\blue255;\\red0\\green255\\blue0;\\red255\\green0\\blue255;\\red255\\green0"
    "\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue128;}\r\n"
    "{\\*\\defchp \\fs22\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }{\\*\\defpap \\ql \\li0\\ri0"
    "\\sa200\\sl276\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0"
    "\\lin0\\itap0 }\r\n{\\stylesheet{\\ql "
    "\\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\wrapdefault"
    "\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af0\\afs22"
    "\\alang1025 \\ltrch\\fcs0 \\fs22\\lang1033\\langfe1033\\loch\\f31506\\hich\\af31506\\dbch"
    "\\af31505\\cgrid\\langnp1033\\langfenp1033 \\snext0 \\sqformat \\spriority0 "
    "Normal;}{\\*\\cs10 "
    "\\additive \\ssemihidden \\sunhideused \\spriority1 Default Paragraph Font;}}\r\n"
    "{\\*\\generator Penlark benchmark 2.0;}{\\info{\\title Quarterly report}{\\author J. Smith}"
    "{\\operator J. Smith}{\\creatim\\yr2024\\mo3\\dy14\\hr9\\min30}{\\version2}{\\edmins12}"
    "{\\nofpages3}{\\nofwords812}{\\nofchars4631}}\r\n\\paperw12240\\paperh15840\\margl1440"
    "\\margr1440\\margt1440\\margb1440\\gutter0\\ltrsect \\widowctrl\\ftnbj\\aenddoc"
    "\\trackmoves0\\trackformatting1\\donotembedsysfont1\\relyonvml0\\donotembedlingdata0"
    "\\grfdocevents0\\validatexml1\\showplaceholdtext0\\ignoremixedcontent0\\saveinvalidxml0"
    "\\showxmlerrors1\\noxlattoyen\\expshrtn\\noultrlspc\\dntblnsbdb\\nospaceforul\\formshade"
    "\\horzdoc\\dgmargin\\dghspace180\\dgvspace180\\dghorigin1440\\dgvorigin1440\\dghshow1"
    "\\dgvshow1\r\n\\sectd \\ltrsect\\linex0\\endnhere\\sectlinegrid360\\sectdefaultcl\\sftnbj\r\n";

constexpr std::string_view kParagraphStart =
    "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\wrapdefault\\aspalpha"
    "\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af0\\afs22\\alang1025 "
    "\\ltrch\\fcs0 \\fs22\\lang1033\\langfe1033\\loch\\af31506\\hich\\af31506\\dbch\\af31505"
    "\\cgrid\\langnp1033\\langfenp1033 ";

constexpr std::array<std::string_view, 24> kWords = {
    "the", "report", "quarter", "sales",   "growth", "market",   "customers", "of",
    "and", "in",     "a",       "results", "team",   "forecast", "region",    "product",
    "to",  "with",   "revenue", "costs",   "we",     "expect",   "strong",    "north"};

constexpr std::array<std::string_view, 10> kSymbols = {"\\'e9", "\\'e8", "\\'fc", "\\'f6", "\\'e4",
                                                       "\\'a9", "\\'ae", "\\'b0", "\\'93", "\\'94"};

constexpr std::array<std::string_view, 6> kUnicode = {
    "\\u8220\\'93", "\\u8221\\'94", "\\u8211\\'96", "\\u8364\\'80", "\\u1046?", "\\u20013?"};

constexpr std::array<std::string_view, 8> kRunFormats = {
    "\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid7431532 ",
    "\\rtlch\\fcs1 \\ab\\af0 \\ltrch\\fcs0 \\b\\insrsid7431532 ",
    "\\rtlch\\fcs1 \\ai\\af0 \\ltrch\\fcs0 \\i\\insrsid2437418 ",
    "\\rtlch\\fcs1 \\af1 \\ltrch\\fcs0 \\f1\\cf2\\insrsid2437418 ",
    "\\rtlch\\fcs1 \\af0\\afs28 \\ltrch\\fcs0 \\fs28\\ul\\insrsid7431532 ",
    "\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\cf6\\highlight7\\insrsid11762471 ",
    "\\rtlch\\fcs1 \\af2 \\ltrch\\fcs0 \\f2\\fs20\\insrsid11762471 ",
    "\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\super\\insrsid7431532 ",
};

class Generator {
 public:
  explicit Generator(std::size_t targetSize) : target_(targetSize) {
    out_.reserve(targetSize + 4096);
  }

  std::string Run() && {
    out_.append(kPreamble);
    while (out_.size() < target_) {
      if (Chance(150)) {
        Picture();
      } else {
        Paragraph();
      }
    }
    out_.append("\r\n}");
    return std::move(out_);
  }

 private:
  std::size_t Below(std::size_t limit) { return random_() % limit; }
  bool Chance(std::size_t oneIn) { return Below(oneIn) == 0; }

  // Word writes a line break between tokens now and then; RTF readers ignore it.
  void MaybeBreakLine() {
    if (out_.size() - lineStart_ > 200) {
      out_.append("\r\n");
      lineStart_ = out_.size();
    }
  }

  void Paragraph() {
    out_.append(kParagraphStart);
    const std::size_t runs = 2 + Below(6);
    for (std::size_t run = 0; run < runs; ++run) {
      out_.push_back('{');
      out_.append(kRunFormats[Below(kRunFormats.size())]);
      Text(8 + Below(40));
      out_.push_back('}');
      MaybeBreakLine();
    }
    out_.append("{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid7431532 \\par }");
    MaybeBreakLine();
  }

  void Text(std::size_t words) {
    for (std::size_t i = 0; i < words; ++i) {
      if (i > 0) {
        out_.push_back(' ');
      }
      const std::size_t pick = Below(100);
      if (pick < 4) {
        out_.append(kSymbols[Below(kSymbols.size())]);
      } else if (pick < 6) {
        out_.append(kUnicode[Below(kUnicode.size())]);
      } else if (pick < 7) {
        out_.append("\\{x\\} \\\\ a<b & \"q\"");
      } else if (pick < 8) {
        out_.append("\\tab ");
      }
      out_.append(kWords[Below(kWords.size())]);
    }
  }

  // A picture group with its properties and its data as hexadecimal digits, 128 to a line.
  void Picture() {
    static constexpr char kHex[] = "0123456789abcdef";
    out_.append(
        "{\\*\\shppict{\\pict{\\*\\picprop\\shplid1025{\\sp{\\sn shapeType}{\\sv 75}}}"
        "\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw5080"
        "\\pich3387\\picwgoal2880\\pichgoal1920\\pngblip\\bliptag-1418946183{\\*\\blipuid "
        "ab6cb6791f4a27d2e2e46b6bb3ac4b4b}\r\n");
    const std::size_t bytes = 20000 + Below(180000);
    for (std::size_t i = 0; i < bytes; ++i) {
      const auto value = static_cast<unsigned>(random_());
      out_.push_back(kHex[value & 15]);
      out_.push_back(kHex[(value >> 4) & 15]);
      if (i % 64 == 63) {
        out_.append("\r\n");
      }
    }
    out_.append("}}");
    lineStart_ = out_.size();
    MaybeBreakLine();
  }

  std::size_t target_;
  std::string out_;
  std::size_t lineStart_ = 0;
  std::mt19937 random_{20240314};
};

}  // namespace

std::string GenerateRtf(std::size_t targetSize) {
  return Generator(targetSize).Run();
}

}  // namespace penlark::bench

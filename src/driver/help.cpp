// The text of --help, in English and, for Japanese users, in Japanese.
#include <cstddef>

#include "driver/driver.h"

namespace {

const char USAGE[] =
    "usage: circle_erase [-m<mode>] [-a | -a<cl>] [-i] [-c] [-k<cl>] [-e<cl>] [-f<cl>]\n"
    "                    [-t | -t2]\n"
    "\n"
    "Erases from ZOD_UZUD.TXT, in the current directory, what lies inside the circle,\n"
    "ellipse or arc designated after the marker record \"hhp1ci\", and rewrites the file.\n"
    "\n"
    "  -m<mode>  1 whole circle or ellipse (default); 2 sector of the arc; 3 sector and its\n"
    "            radii drawn; 4 segment between arc and chord; 5 segment and its chord drawn\n"
    "  -a        every closed circle and ellipse of the drawing is a region too: what lies\n"
    "            inside any of them goes as well (no designation needed); they stay as drawn\n"
    "  -a<cl>    as -a, with only the circles of colour c and line type l (e.g. -a37)\n"
    "  -i        crop instead: keep what lies inside the region, drop what lies outside\n"
    "  -c        cut circles, arcs and ellipses at the region's edge too (else they stay\n"
    "            whole)\n"
    "  -k<cl>    erase nothing: what lies inside (outside with -i) is written in colour c\n"
    "            and line type l instead (e.g. -k12); default 00\n"
    "  -e<cl>    lines of colour c and line type l are left whole (e.g. -e25); default 00\n"
    "  -f<cl>    a second colour and line type left whole\n"
    "  -t, -t2   test mode: diagnostics into the file (-t) or on the console (-t2); the work\n"
    "            file ZOD_UZUD.$$$ is kept\n"
    "  --help    this text;  --version  the version\n"
    "\n"
    "Options may start with '-' or '/', in any letter case. Exit status 0 when the file was\n"
    "rewritten (a refused boundary included: the reply is in the file), 1 when it could not\n"
    "be read or written.\n";

// Stored once, in UTF-8; the code page 932 copy is made from it when the tool is compiled.
constexpr char USAGE_JA[] =
    "使い方: circle_erase [-m<mode>] [-a | -a<cl>] [-i] [-c] [-k<cl>] [-e<cl>] [-f<cl>]\n"
    "                     [-t | -t2]\n"
    "\n"
    "カレントフォルダの ZOD_UZUD.TXT から、マーカーレコード \"hhp1ci\" の次の行で\n"
    "指定された円、楕円または円弧の内側にあるものを消去し、ファイルを書き換えます。\n"
    "\n"
    "  -m<mode>  1 円・楕円の全体（既定）、2 円弧の扇形、3 扇形（半径2本も作図）、\n"
    "            4 円弧と弦の間の弓形、5 弓形（弦も作図）\n"
    "  -a        図面の閉じた円・楕円もすべて範囲とし、その内側も消去します（指定が\n"
    "            なくてもかまいません）。それらの円・楕円は残ります\n"
    "  -a<cl>    -a と同じく、ただし色 c・線種 l の円・楕円だけ（例 -a37）\n"
    "  -i        切り取り: 範囲の内側を残し、外側を消去します\n"
    "  -c        円・円弧・楕円も範囲の境界で切ります（既定ではそのまま残ります）\n"
    "  -k<cl>    消去せず、内側（-i では外側）を色 c・線種 l で書きます（例 -k12）。\n"
    "            既定は 00\n"
    "  -e<cl>    色 c・線種 l の線は切らずに残します（例 -e25）。既定は 00\n"
    "  -f<cl>    切らずに残す2組目の色と線種\n"
    "  -t, -t2   テストモード: 診断をファイルに (-t)、コンソールに (-t2) 出します。\n"
    "            作業ファイル ZOD_UZUD.$$$ は残ります\n"
    "  --help    この説明、  --version  バージョン\n"
    "\n"
    "オプションは '-' でも '/' でも始められ、大文字と小文字を区別しません。\n"
    "終了コード: 書き換えたとき 0（指定エラーも返答はファイルの中にあり 0）、\n"
    "読めない・書けない・別の実行が使用中のとき 1（ZOD_UZUD.TXT は元のまま）。\n"
    "\n"
    "circle_erase " CE_VERSION "\n"
    "詳しくは README.txt（日本語・英語）をご覧ください。Windows 版では\n"
    "circle_erase.exe と同じフォルダにあります。\n";
// The code page 932 codes of the characters of USAGE_JA beyond ASCII and the kana, whose codes
// run in blocks. A character missing here stops the compilation.
struct Code {
    char32_t u;
    unsigned short cp932;
};
constexpr Code CODES[] = {
    {U'、', 0x8141}, {U'。', 0x8142}, {U'・', 0x8145}, {U'ー', 0x815B}, {U'中', 0x9286},
    {U'了', 0x97B9}, {U'体', 0x91CC}, {U'作', 0x8DEC}, {U'使', 0x8E67}, {U'例', 0x97E1},
    {U'側', 0x91A4}, {U'元', 0x8CB3}, {U'全', 0x9153}, {U'内', 0x93E0}, {U'円', 0x897E},
    {U'出', 0x8F6F}, {U'切', 0x90D8}, {U'別', 0x95CA}, {U'区', 0x8BE6}, {U'半', 0x94BC},
    {U'去', 0x8B8E}, {U'取', 0x8EE6}, {U'同', 0x93AF}, {U'囲', 0x88CD}, {U'図', 0x907D},
    {U'境', 0x8BAB}, {U'外', 0x8A4F}, {U'大', 0x91E5}, {U'始', 0x8E6E}, {U'字', 0x8E9A},
    {U'定', 0x92E8}, {U'実', 0x8EC0}, {U'小', 0x8FAC}, {U'弓', 0x8B7C}, {U'弦', 0x8CB7},
    {U'弧', 0x8CCA}, {U'形', 0x8C60}, {U'径', 0x8C61}, {U'扇', 0x90EE}, {U'指', 0x8E77},
    {U'換', 0x8AB7}, {U'文', 0x95B6}, {U'断', 0x9266}, {U'方', 0x95FB}, {U'既', 0x8AF9},
    {U'日', 0x93FA}, {U'明', 0x96BE}, {U'書', 0x8F91}, {U'本', 0x967B}, {U'楕', 0x91C8},
    {U'業', 0x8BC6}, {U'次', 0x8E9F}, {U'残', 0x8E63}, {U'消', 0x8FC1}, {U'版', 0x94C5},
    {U'用', 0x9770}, {U'界', 0x8A45}, {U'目', 0x96DA}, {U'種', 0x8EED}, {U'答', 0x939A},
    {U'範', 0x94CD}, {U'終', 0x8F49}, {U'組', 0x9167}, {U'線', 0x90FC}, {U'色', 0x9046},
    {U'英', 0x8970}, {U'行', 0x8D73}, {U'覧', 0x9797}, {U'診', 0x9066}, {U'詳', 0x8FDA},
    {U'語', 0x8CEA}, {U'説', 0x90E0}, {U'読', 0x93C7}, {U'返', 0x95D4}, {U'閉', 0x95C2},
    {U'間', 0x8AD4}, {U'面', 0x96CA}, {U'（', 0x8169}, {U'）', 0x816A},
};

constexpr unsigned cp932_of(char32_t u) {
    if (u < 0x80) return u;
    if (u >= U'ぁ' && u <= U'ん') return 0x829F + (u - U'ぁ');
    if (u >= U'ァ' && u <= U'ヶ') {
        unsigned c = 0x8340 + (u - U'ァ');
        return c < 0x837F ? c : c + 1; // 0x7F is no trail byte
    }
    for (const Code& c : CODES)
        if (c.u == u) return c.cp932;
    throw "a character of the Japanese help has no code page 932 code in CODES";
}

// Never longer than the UTF-8: one byte for one, two for two or three.
struct Cp932Text {
    char s[sizeof USAGE_JA] = {};
};

constexpr Cp932Text to_cp932(const char* utf8) {
    Cp932Text out;
    std::size_t n = 0;
    for (std::size_t i = 0; utf8[i];) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        int more = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t u = more == 0 ? b : more == 1 ? b & 0x1F : more == 2 ? b & 0x0F : b & 0x07;
        for (int k = 1; k <= more; ++k)
            u = u << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += 1 + more;
        unsigned c = cp932_of(u);
        if (c > 0xFF) out.s[n++] = static_cast<char>(c >> 8);
        out.s[n++] = static_cast<char>(c & 0xFF);
    }
    return out;
}

constexpr Cp932Text USAGE_JA_CP932 = to_cp932(USAGE_JA);

} // namespace

const char* help_text(HelpLanguage language) {
    switch (language) {
    case HelpLanguage::japanese_utf8:
        return USAGE_JA;
    case HelpLanguage::japanese_cp932:
        return USAGE_JA_CP932.s;
    case HelpLanguage::english:
        break;
    }
    return USAGE;
}

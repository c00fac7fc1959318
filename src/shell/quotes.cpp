#include "shell/quotes.h"

#include <algorithm>
#include <cmath>

namespace {

// Texts exactly as the banner shows them, including the ASCII commas of rows
// 8, 10, 12 and 14 and the leading blank of the sources of rows 2 and 8.
constexpr std::array<QuoteRow, QuoteCount> Quotes{{
    {u"天行健，君子以自强不息；地势坤，君子以厚德载物。", u"《象传》"},
    {u"积善之家，必有余庆；积不善之家，必有余殃。", u" 《文言传》"},
    {u"善不积，不足以成名；恶不积，不足以灭身。", u"《系辞传》"},
    {u"有孚惠心，勿问元吉，有孚惠我德。", u"《易经·益》"},
    {u"易，穷则变，变则通，通则久。", u"《系辞传》"},
    {u"君子以言有物，而行有恒。", u"《象传》"},
    {u"一阴一阳之谓道。", u"《系辞传》"},
    {u"立天之道曰阴与阳,立地之道曰柔与刚,立人之道曰仁与义。", u" 《说卦传》"},
    {u"君子学以聚之，问以辩之，宽以居之，仁以行之。", u"《文言传》"},
    {u"夫大人者,与天地合其德,与日月合其明,与四时合其序,与鬼神合其吉凶。先天而天弗违,后天而奉天时。", u"《文言传》"},
    {u"假我数年，五十以学易，则无大过也。", u"《论语》"},
    {u"日往则月来,月往则日来,日月相推而明生焉。寒往则暑来,暑往则寒来,寒暑相推而岁成焉。", u"《系辞传》"},
    {u"方以类聚，物以群分，吉凶生矣。", u"《系辞传》"},
    {u"将叛者其辞惭,中心疑者其辞枝,吉人之辞寡,躁人之辞多,诬善之人其辞游,失其守者其辞屈。", u"《系辞传》"},
    {u"易与天地准，故能弥纶天地之道。", u"《系辞传》"},
    {u"君子以见善则迁，有过则改。", u"《象传》"},
    {u"劳谦君子，万民服也。", u"《象传》"},
    {u"君子以慎言语，节饮食。", u"《象传》"},
    {u"君子以多识前贤往行，以畜其德。", u"《象传》"},
    {u"君子以遏恶扬善，顺天休命。", u"《象传》"},
    {u"君子以独立不惧，遯世无闷。", u"《象传》"},
    {u"君子以远小人，不恶而严。", u"《象传》"},
    {u"君子以自昭明德。", u"《象传》"},
    {u"君子以思不出其位。", u"《象传》"},
    {u"君子以治历明时。", u"《象传》"},
    {u"君子以居贤德善俗。", u"《象传》"},
    {u"君子以思患而豫防之。", u"《象传》"},
    {u"君子以慎辨物居方。", u"《象传》"},
    {u"君子以朋友讲习。", u"《象传》"},
    {u"君子以顺德，积小以高大。", u"《象传》"},
    {u"天行健，君子以自强不息；地势坤，君子以厚德载物。", u"《象传》"},
}};

} // namespace

const std::array<QuoteRow, QuoteCount> &QuoteTable()
{
    return Quotes;
}

const QuoteRow &PickQuote(double random)
{
    // A draw outside [0, 1) is clamped, so no row index can fall off the table.
    const int index = int(std::floor(QuoteCount * random));
    return Quotes[std::clamp(index, 0, QuoteCount - 1)];
}

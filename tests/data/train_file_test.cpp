// The load train file: the example reads, the writer gives its bytes back, and
// every malformed line is named by its status and number.

#include "data/train_file.h"

#include <gtest/gtest.h>

#include "data/text_file.h"

namespace kalvoro {
namespace {

TEST(TrainFile, ExampleReadsAndWritesBackByteForByte)
{
    const std::string bytes = readFileBytes(std::string(KALVORO_EXAMPLES) + "/tb450-simplificado.trem");
    const TrainRead r = LeTremTexto(bytes);
    ASSERT_EQ(r.status, 0) << r.message;
    EXPECT_EQ(r.train.title, "TB-450 simplificado");
    EXPECT_EQ(r.train.q, 5);
    ASSERT_EQ(r.train.axles.size(), 3u);
    EXPECT_EQ(r.train.axles[1].P, 150);
    EXPECT_EQ(r.train.axles[2].a, 3);
    EXPECT_EQ(utf8ToCp1252(TremFileText(r.train)), bytes);

    // LF alone reads too, and blank lines may follow the last axle.
    std::string lf;
    for (const char c : bytes)
        if (c != '\r') lf += c;
    EXPECT_EQ(LeTremTexto(lf + "\n  \n").status, 0);
}

TEST(TrainFile, EachFaultIsNamedWithItsLine)
{
    using namespace train_status;
    const std::string head = "t\nCARGA DISTRIBUIDA = 2\n";
    struct Case {
        std::string text;
        int status, line;
    };
    const Case cases[] = {
        {"", NoTitle, 1},
        {"t\n", BadUniformLoad, 2},
        {"t\nCARGA = 2\n", BadUniformLoad, 2},
        {"t\nCARGA DISTRIBUIDA = -1\n", BadUniformLoad, 2},
        {"t\nCARGA DISTRIBUIDA = 1,5\n", BadUniformLoad, 2},
        {head + "EIXOS = 0\n", BadAxleCount, 3},
        {head + "EIXOS = 21\n", BadAxleCount, 3},
        {head + "EIXO = 1\n 10 0\n", BadAxleCount, 3},
        {head + "EIXOS = 1\n 0 0\n", BadAxleLine, 4},
        {head + "EIXOS = 1\n 10\n", BadAxleLine, 4},
        {head + "EIXOS = 1\n 10 0 3\n", BadAxleLine, 4},
        {head + "EIXOS = 2\n 10 0\n 10 -1\n", BadAxleLine, 5},
        {head + "EIXOS = 1\n 10 1\n", FirstAxleNotAtZero, 4},
        {head + "EIXOS = 3\n 10 0\n 10 2\n 10 1.5\n", AxlesOutOfOrder, 6},
        {head + "EIXOS = 3\n 10 0\n 10 2\n", MissingAxles, 6},
        {head + "EIXOS = 1\n 10 0\n\n 10 2\n", TextAfterAxles, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TrainRead r = LeTremTexto(c.text);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(r.message, "Trem-tipo, linha " + std::to_string(c.line) + ": " +
                                 TrainMessages()[static_cast<std::size_t>(c.status)]);
    }
}

}  // namespace
}  // namespace kalvoro

#include "riddle/answercode.h"

#include <algorithm>

#include "numbers/numbers.h"

namespace mindlark {

bool isGridEmpty(const GridIndexes& grid) {
    return std::all_of(grid.begin(), grid.end(), [](std::int16_t index) { return index == -1; });
}

QString buildAnswerCode(const GridIndexes& grid, const QString& ageText, std::int64_t elapsed) {
    // Grid positions of the pieces: a dash follows the listed positions. The
    // groups deliberately cut across the attribute rows; the web page relies on it.
    const auto piece = [&grid](int position) { return numberText(grid[position]); };
    QString code;
    code.reserve(64 + ageText.size() + 20);
    for (int p : {0, 1, 2})
        code += piece(p);
    code += u'-';
    for (int p : {3, 4, 5})
        code += piece(p);
    code += u'-';
    for (int p : {6, 7, 8, 9})
        code += piece(p);
    code += u'-';
    for (int p : {10, 11, 12, 13})
        code += piece(p);
    code += u'-';
    for (int p : {14, 15, 16})
        code += piece(p);
    code += u'-';
    for (int p : {17, 18, 19})
        code += piece(p);
    code += u'-';
    code += piece(20);
    code += u'-';
    code += ageText;
    code += u'-';
    for (int p : {21, 22, 23})
        code += piece(p);
    code += u'-';
    code += piece(24);
    code += u'-';
    code += numberText(elapsed);
    return code;
}

}  // namespace mindlark

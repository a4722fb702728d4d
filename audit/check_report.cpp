#include "audit/check_report.h"

#include <cstdio>

#include "publish/web_text.h"

namespace quelna {

namespace {

std::string decimal(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

std::string jsonNumbers(const std::vector<int>& numbers, int plus = 0) {
    std::string text = "[";
    for (std::size_t i = 0; i < numbers.size(); ++i)
        text += (i > 0 ? "," : "") + std::to_string(numbers[i] + plus);
    return text + "]";
}

} // namespace

std::vector<std::string> fairnessLines(const FairnessFigures& f) {
    std::vector<std::string> lines = {
        "Повторные встречи: " + std::to_string(f.repeatMeetings) + " (неизбежно при " +
            std::to_string(f.rounds) + " турах: " + std::to_string(f.repeatFloor) + ").",
        "Встречи игроков одной команды: " + std::to_string(f.teamMateMeetings) +
            " (неизбежно: " + std::to_string(f.teamMateFloor) + ").",
        "Чаще всего за одним номером стола: " + std::to_string(f.mostAtOneTable) +
            " раз (не меньше " + std::to_string(f.mostAtOneTableFloor) + ").",
    };
    if (f.commonMeasured)
        lines.push_back("Общих соперников у не встречавшихся: не меньше " +
                        std::to_string(f.fewestCommon) + ", в среднем " + decimal(f.averageCommon) +
                        " (при случайной рассадке в среднем " + decimal(f.randomSeatingCommon) +
                        ").");
    else
        lines.push_back("Общие соперники не встречавшихся считаются после пятого тура.");
    return lines;
}

std::string checkSummaryLine(const CheckReport& report) {
    const int breaks = report.ruleBreaks();
    return "Итого: рассажено туров " + std::to_string(report.roundsSeated) +
           ", рассадка программы повторена в " + std::to_string(report.roundsMatching) +
           "; нарушений правил: " + std::to_string(breaks) +
           (report.cancelled ? "; проверка прервана" : "") + ".";
}

std::string checkReportText(const CheckReport& report, const FairnessFigures& fairness) {
    std::string text;
    for (const Finding& f : report.findings)
        text += (f.breaksRule ? "НАРУШЕНИЕ: " : "") + f.text + "\n";
    for (const std::string& line : fairnessLines(fairness))
        text += line + "\n";
    return text + checkSummaryLine(report) + "\n";
}

std::string checkReportJson(const Tournament& t, const CheckReport& report,
                            const FairnessFigures& fairness) {
    std::string json = "{\"roundsSeated\":" + std::to_string(report.roundsSeated) +
                       ",\"roundsMatching\":" + std::to_string(report.roundsMatching) +
                       ",\"ruleBreaks\":" + std::to_string(report.ruleBreaks()) +
                       ",\"cancelled\":" + (report.cancelled ? "true" : "false") +
                       ",\"fairness\":{\"rounds\":" + std::to_string(fairness.rounds) +
                       ",\"repeatMeetings\":" + std::to_string(fairness.repeatMeetings) +
                       ",\"repeatFloor\":" + std::to_string(fairness.repeatFloor) +
                       ",\"teamMateMeetings\":" + std::to_string(fairness.teamMateMeetings) +
                       ",\"teamMateFloor\":" + std::to_string(fairness.teamMateFloor) +
                       ",\"mostAtOneTable\":" + std::to_string(fairness.mostAtOneTable) +
                       ",\"mostAtOneTableFloor\":" + std::to_string(fairness.mostAtOneTableFloor);
    if (fairness.commonMeasured)
        json += ",\"fewestCommon\":" + std::to_string(fairness.fewestCommon) +
                ",\"averageCommon\":" + decimal(fairness.averageCommon) +
                ",\"randomSeatingCommon\":" + decimal(fairness.randomSeatingCommon);
    json += "},\"findings\":[";
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& f = report.findings[i];
        std::vector<int> numbers;
        for (int p : f.players)
            numbers.push_back(t.playerNumber[p]);
        json += std::string(i > 0 ? "," : "") + "{\"kind\":\"" + findingKindName(f.kind) +
                "\",\"breaksRule\":" + (f.breaksRule ? "true" : "false") +
                ",\"round\":" + (f.round >= 0 ? std::to_string(f.round + 1) : "null") +
                ",\"tables\":" + jsonNumbers(f.tables, 1) +
                ",\"players\":" + jsonNumbers(numbers, 1) + ",\"text\":" + jsonString(f.text) + "}";
    }
    return json + "]}\n";
}

} // namespace quelna

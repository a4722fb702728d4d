#include "publish/page_language.h"

#include "core/text.h"

namespace quelna {

namespace {

constexpr PageWords kRussian{
    .code = "ru",
    .other = "English",
    .defaultTitle = "Страница для игроков",
    .seating = "Рассадка",
    .standings = "Турнирная таблица",
    .teams = "Команды",
    .mine = "Мой турнир",
    .noSeating = "Рассадка ещё не объявлена",
    .noSeatingHint = "Страница покажет столы, как только будет рассажен первый тур.",
    .round = "ТУР № ",
    .table = "СТОЛ № ",
    .minutes = " мин",
    .find = "Имя или номер",
    .findLabel = "Найти игрока",
    .standingsHeading = "Турнирная таблица",
    .teamsHeading = "Командный зачёт",
    .noTeams = "В этом турнире нет команд.",
    .seatedRounds = "Туров рассажено: ",
    .countedRounds = "Туров с полными результатами: ",
    .of = " из ",
    .place = "Место",
    .number = "№",
    .player = "Игрок",
    .points = "Очки",
    .team = "Команда",
    .clockBefore = "До начала тура",
    .clockLeft = "До конца тура",
    .clockPaused = "Пауза",
    .clockUp = "Время вышло",
    .substitute = "замена",
    .penalty = "штраф",
    .pickHeading = "Кто вы?",
    .pickHint = "Выберите себя в списке: телефон запомнит выбор.",
    .notYou = "Выбрать другого игрока",
    .now = "Сейчас",
    .opponents = "Соперники",
    .total = "Итог",
    .history = "Сыгранные туры",
    .noHistory = "Результатов пока нет.",
    .noRoundYet = "Первый тур ещё не рассажен.",
    .roundColumn = "Тур",
    .tableColumn = "Стол",
};

constexpr PageWords kEnglish{
    .code = "en",
    .other = "Русский",
    .defaultTitle = "Players' page",
    .seating = "Seating",
    .standings = "Standings",
    .teams = "Teams",
    .mine = "My tournament",
    .noSeating = "No seating yet",
    .noSeatingHint = "The tables will appear here as soon as the first round is seated.",
    .round = "Round ",
    .table = "Table ",
    .minutes = " min",
    .find = "Name or number",
    .findLabel = "Find a player",
    .standingsHeading = "Standings",
    .teamsHeading = "Team standings",
    .noTeams = "There are no teams in this tournament.",
    .seatedRounds = "Rounds seated: ",
    .countedRounds = "Rounds with all results in: ",
    .of = " of ",
    .place = "Place",
    .number = "No.",
    .player = "Player",
    .points = "Points",
    .team = "Team",
    .clockBefore = "Round starts in",
    .clockLeft = "Time left",
    .clockPaused = "Paused",
    .clockUp = "Time is up",
    .substitute = "substitute",
    .penalty = "penalty",
    .pickHeading = "Who are you?",
    .pickHint = "Pick your name from the list. This phone will remember it.",
    .notYou = "Choose another player",
    .now = "Now",
    .opponents = "Opponents",
    .total = "Total",
    .history = "Rounds played",
    .noHistory = "No results yet.",
    .noRoundYet = "The first round has not been seated yet.",
    .roundColumn = "Round",
    .tableColumn = "Table",
};

} // namespace

const PageWords& pageWords(PageLanguage language) {
    return language == PageLanguage::English ? kEnglish : kRussian;
}

bool parsePageLanguage(std::string_view code, PageLanguage& language) {
    for (PageLanguage l : kPageLanguages)
        if (code == pageWords(l).code) {
            language = l;
            return true;
        }
    return false;
}

std::string substituteText(PageLanguage language, std::string_view nameCp1251) {
    std::string note = "→ " + std::string(pageWords(language).substitute);
    if (!nameCp1251.empty())
        note += ": " + cp1251ToUtf8(nameCp1251);
    return note;
}

} // namespace quelna

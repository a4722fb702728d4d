#include "core/test_data.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace quelna {

namespace {

// Common Russian surnames in the masculine form.
constexpr std::array<std::string_view, 100> kSurnames = {
    "Иванов",     "Васильев",  "Петров",   "Смирнов",  "Михайлов",    "Федоров",    "Соколов",
    "Яковлев",    "Попов",     "Андреев",  "Алексеев", "Александров", "Лебедев",    "Григорьев",
    "Степанов",   "Семенов",   "Павлов",   "Богданов", "Николаев",    "Дмитриев",   "Егоров",
    "Волков",     "Кузнецов",  "Никитин",  "Соловьев", "Тимофеев",    "Орлов",      "Афанасьев",
    "Филиппов",   "Сергеев",   "Захаров",  "Матвеев",  "Виноградов",  "Кузьмин",    "Максимов",
    "Козлов",     "Ковалев",   "Белов",    "Морозов",  "Романов",     "Борисов",    "Гусев",
    "Киселев",    "Макаров",   "Медведев", "Тарасов",  "Жуков",       "Фролов",     "Осипов",
    "Антонов",    "Блинов",    "Баранов",  "Зайцев",   "Королев",     "Новиков",    "Сорокин",
    "Покровский", "Шмидт",     "Комаров",  "Голубев",  "Никифоров",   "Ильин",      "Беляев",
    "Воробьев",   "Щербаков",  "Денисов",  "Миллер",   "Герасимов",   "Калашников", "Гаврилов",
    "Фомин",      "Тихонов",   "Троицкий", "Широков",  "Давыдов",     "Мельников",  "Шульц",
    "Поляков",    "Данилов",   "Крылов",   "Зуев",     "Карпов",      "Абрамов",    "Титов",
    "Власов",     "Ефимов",    "Ширяев",   "Сидоров",  "Быков",       "Мартынов",   "Лазарев",
    "Чернов",     "Пономарев", "Гордеев",  "Ершов",    "Панов",       "Рыбаков",    "Константинов",
    "Воронин",    "Наумов",
};

constexpr std::array<std::string_view, 50> kMaleNames = {
    "Александр", "Сергей",   "Владимир", "Николай",    "Алексей",   "Андрей",    "Дмитрий",
    "Евгений",   "Михаил",   "Иван",     "Игорь",      "Юрий",      "Олег",      "Виктор",
    "Павел",     "Анатолий", "Виталий",  "Максим",     "Роман",     "Денис",     "Вадим",
    "Артем",     "Василий",  "Борис",    "Григорий",   "Антон",     "Валерий",   "Геннадий",
    "Леонид",    "Петр",     "Илья",     "Кирилл",     "Станислав", "Владислав", "Вячеслав",
    "Степан",    "Федор",    "Тимур",    "Георгий",    "Ярослав",   "Аркадий",   "Егор",
    "Никита",    "Матвей",   "Даниил",   "Константин", "Эдуард",    "Руслан",    "Герман",
    "Альберт",
};

constexpr std::array<std::string_view, 50> kFemaleNames = {
    "Анастасия", "Мария",    "Дарья",    "Анна",   "Елизавета", "Екатерина", "Ольга",
    "Татьяна",   "Наталья",  "Елена",    "Ирина",  "Светлана",  "Юлия",      "Марина",
    "Ксения",    "Алина",    "Виктория", "Полина", "Софья",     "Валерия",   "Вера",
    "Людмила",   "Галина",   "Надежда",  "Любовь", "Оксана",    "Кристина",  "Евгения",
    "Маргарита", "Вероника", "Алена",    "Диана",  "Ангелина",  "Василиса",  "Александра",
    "Варвара",   "Таисия",   "Ульяна",   "Зоя",    "Нина",      "Лариса",    "Валентина",
    "Тамара",    "Жанна",    "Инна",     "Регина", "Карина",    "Элина",     "Ярослава",
    "Лилия",
};

// The 24 orders of the result codes 4, 2, 1, 0 over seats 0..3, in lexicographic order with
// 4 first.
constexpr std::array<std::array<int, 4>, 24> makeResultPermutations() {
    std::array<std::array<int, 4>, 24> rows{};
    constexpr std::array<int, 4> codes = {4, 2, 1, 0};
    std::array<int, 4> index = {0, 1, 2, 3};
    for (auto& row : rows) {
        for (int s = 0; s < 4; ++s)
            row[s] = codes[index[s]];
        std::next_permutation(index.begin(), index.end());
    }
    return rows;
}

constexpr auto kResultPermutations = makeResultPermutations();

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string feminine(std::string_view surname) {
    std::string s(surname);
    if (endsWith(s, "в") || endsWith(s, "н"))
        return s + "а";
    if (endsWith(s, "й")) {
        // Drop the final letter and the one before it (two bytes each in UTF-8).
        s.resize(s.size() - 4);
        return s + "ая";
    }
    return s;
}

} // namespace

void generateRandomNames(Tournament& t, Random& random) {
    for (int i = 0; i < t.playerCount; ++i) {
        const bool female = 2 * random.next() / 32768 == 1;
        const int first = random.next() * 50 / 32768;
        const int last = random.next() * 100 / 32768;
        std::string name(female ? kFemaleNames[first] : kMaleNames[first]);
        name += ' ';
        name += female ? feminine(kSurnames[last]) : std::string(kSurnames[last]);
        t.setName(i, utf8ToCp1251(name));
    }
}

void generateRandomTeams(Tournament& t, Random& random) {
    std::vector<int> pool(t.playerCount);
    for (int i = 0; i < t.playerCount; ++i)
        pool[i] = i;
    const std::string prefix = utf8ToCp1251("Ком.");
    for (int k = 1; k <= t.playerCount / 4; ++k) {
        const std::string name = prefix + std::to_string(k);
        for (int m = 0; m < 4; ++m) {
            const int j = random.next() * static_cast<int>(pool.size()) / 32768;
            t.team[pool[j]] = t.teams.findOrAdd(name);
            pool.erase(pool.begin() + j);
        }
    }
}

void generateRandomResults(Tournament& t, int round, Random& random) {
    if (round < 0 || round >= t.roundCount)
        return;
    for (int table = 0; table < t.tableCount(); ++table) {
        std::array<int, 5> byCode{};
        byCode[4] = 100 * (random.next() * 100 / 32767) + 10000;
        byCode[2] = 100 * (random.next() * 100 / 32767);
        byCode[1] = 100 * (random.next() * 100 / 32767) - 10000;
        byCode[0] = -(byCode[4] + byCode[2] + byCode[1]);
        const auto& row = kResultPermutations[random.next() * 24 / 32768];
        for (int s = 0; s < 4; ++s)
            t.setPoints(round, table, s, byCode[row[s]]);
    }
}

void numberPlayersInOrder(Tournament& t) {
    for (int i = 0; i < t.playerCount; ++i)
        t.playerNumber[i] = i;
}

Tournament simulatedRegistration(int players, int rounds, bool teams, Random& random) {
    Tournament t(players, rounds);
    generateRandomNames(t, random);
    if (teams)
        generateRandomTeams(t, random);
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();
    return t;
}

std::span<const std::string_view> surnameTable() {
    return kSurnames;
}
std::span<const std::string_view> maleNameTable() {
    return kMaleNames;
}
std::span<const std::string_view> femaleNameTable() {
    return kFemaleNames;
}

} // namespace quelna

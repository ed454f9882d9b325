#include "tools/SampleGen.h"

#include "data/Cp1251.h"
#include "data/StageFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kel::sample {
namespace {

using namespace std::chrono;

// mt19937 is specified exactly by the standard, the library's distributions are not: every
// draw below is built from its raw output with plain arithmetic, so a seed gives the same
// files with every compiler.
class Rng {
public:
    explicit Rng(uint32_t seed) : m_gen(seed) {}

    double Uniform() { return m_gen() / 4294967296.0; } // [0, 1)
    double Uniform(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    int Int(int lo, int hi) { return lo + static_cast<int>(Uniform() * (hi - lo + 1)); } // inclusive
    bool Chance(double p) { return Uniform() < p; }
    // Roughly normal, mean 0, deviation 1 (sum of twelve uniforms).
    double Normal() {
        double s = 0;
        for (int i = 0; i < 12; ++i) s += Uniform();
        return s - 6;
    }
    // Index drawn with the given weights.
    template <std::size_t N>
    int Pick(const std::array<double, N>& weights) {
        double total = 0;
        for (double w : weights) total += w;
        double x = Uniform() * total;
        for (std::size_t i = 0; i < N; ++i) {
            if (x < weights[i]) return static_cast<int>(i);
            x -= weights[i];
        }
        return static_cast<int>(N - 1);
    }
    template <class T>
    void Shuffle(std::vector<T>& v) {
        for (std::size_t i = v.size(); i > 1; --i)
            std::swap(v[i - 1], v[static_cast<std::size_t>(Int(0, static_cast<int>(i) - 1))]);
    }

private:
    std::mt19937 m_gen;
};

enum class Surface { Gravel, Tarmac, Snow };

struct StageName {
    const char* Name;
    Surface Kind;
};

// Every name is made up.
constexpr StageName StagePool[] = {
    {"Волчья Падь", Surface::Gravel},       {"Каменный Брод", Surface::Gravel},
    {"Сосновый Перевал", Surface::Gravel},  {"Гремячий Лог", Surface::Gravel},
    {"Кривая Балка", Surface::Tarmac},      {"Медвежий Угол", Surface::Gravel},
    {"Лисья Тропа", Surface::Gravel},       {"Сухой Ручей", Surface::Gravel},
    {"Ржавый Мост", Surface::Tarmac},       {"Белая Гать", Surface::Gravel},
    {"Тёмная Заводь", Surface::Gravel},     {"Старая Мельница", Surface::Tarmac},
    {"Глухая Просека", Surface::Gravel},    {"Дальний Кордон", Surface::Gravel},
    {"Рыжий Карьер", Surface::Gravel},      {"Верхние Выселки", Surface::Tarmac},
    {"Кедровая Грива", Surface::Gravel},    {"Совиный Овраг", Surface::Gravel},
    {"Полынное Поле", Surface::Gravel},     {"Заячий Спуск", Surface::Tarmac},
    {"Туманная Пойма", Surface::Gravel},    {"Ветряной Холм", Surface::Tarmac},
    {"Бобровая Плотина", Surface::Gravel},  {"Горелый Бор", Surface::Gravel},
    {"Синий Камень", Surface::Tarmac},      {"Песчаная Коса", Surface::Gravel},
    {"Зимний Тракт", Surface::Snow},        {"Ледяная Петля", Surface::Snow},
    {"Снежная Верста", Surface::Snow},      {"Морозный Лес", Surface::Snow},
    {"Крутой Яр", Surface::Gravel},         {"Тихий Омут", Surface::Gravel},
    {"Косой Брод", Surface::Gravel},        {"Гусиный Луг", Surface::Tarmac},
    {"Овражный Серпантин", Surface::Tarmac}, {"Железный Переезд", Surface::Tarmac},
    {"Harrow Ridge", Surface::Gravel},      {"Millbeck Forest", Surface::Gravel},
    {"Red Quarry Run", Surface::Gravel},    {"Glenvarrow Pass", Surface::Gravel},
    {"Ashcombe Lanes", Surface::Tarmac},    {"Duncarrick Moor", Surface::Gravel},
    {"Fernhollow", Surface::Gravel},        {"Stoneleigh Climb", Surface::Tarmac},
    {"Kettle Gorge", Surface::Gravel},      {"Bramblewood", Surface::Gravel},
    {"Old Mine Road", Surface::Tarmac},     {"Coldwater Bends", Surface::Tarmac},
    {"Whitlow Heath", Surface::Gravel},     {"Oxbury Downs", Surface::Gravel},
    {"Saltmarsh Sprint", Surface::Tarmac},  {"Larkspur Valley", Surface::Gravel},
    {"Thornbeck Descent", Surface::Gravel}, {"Copper Hill", Surface::Tarmac},
    {"Greyfell Loop", Surface::Gravel},     {"Windy Gap Straight", Surface::Tarmac},
    {"Frostvik Trail", Surface::Snow},      {"Snowdrift Ridge", Surface::Snow},
    {"Icebrook Run", Surface::Snow},        {"Pinegate", Surface::Gravel},
    {"Hollowmere", Surface::Gravel},        {"Blackwater Ford", Surface::Gravel},
    {"Marrow Creek", Surface::Gravel},      {"Sable Heights", Surface::Tarmac},
    {"Lantern Valley", Surface::Gravel},    {"Crowfoot Switchbacks", Surface::Tarmac},
    {"Eastmoor", Surface::Gravel},          {"Quarry Lane Night", Surface::Tarmac},
};

constexpr const char* GravelOpenings[] = {
    "Быстрый гравийный спецучасток через сосновый лес.",
    "Узкая гравийная дорога с глубокой колеёй и частыми трамплинами.",
    "Широкий грейдер среди полей, где очень легко переоценить скорость.",
    "Каменистая лесная дорога, на которой легко пробить колесо.",
    "Мягкий песчаный грунт: к последним проездам дня колея становится глубже.",
};
constexpr const char* TarmacOpenings[] = {
    "Асфальтовый этап по старым деревенским улицам.",
    "Извилистый серпантин с потрескавшимся асфальтом и низкими отбойниками.",
    "Гладкий асфальт промзоны с чередой прямых и прямоугольных поворотов.",
    "Горная асфальтовая дорога с обрывом справа почти на всём протяжении.",
};
constexpr const char* SnowOpenings[] = {
    "Зимний этап по укатанному снегу с высокими сугробами вдоль обочин.",
    "Лёд под тонким слоем снега: здесь всё решает резина.",
    "Снежная лесная дорога, где сугроб прощает ошибку, а дерево за ним нет.",
};
constexpr const char* Remarks[] = {
    "Первый сектор идёт в гору, второй почти сплошь из прямых.",
    "Перед финишем коварная шпилька у моста.",
    "Вторая половина трассы заметно уже первой.",
    "После дождя в низинах надолго встаёт вода.",
    "Много слепых вершин: без стенограммы здесь делать нечего.",
    "Главная опасность - резкий левый после длинной прямой.",
    "Хорошее место, чтобы потренировать торможение с подворотом.",
    "Зрители любят стоять у водного брода на середине этапа.",
    "Трасса проложена по бывшей лесовозной дороге.",
    "В тумане видимость падает до нескольких десятков метров.",
    "Финиш на подъёме, поэтому последний сектор самый медленный.",
    "На выходе из деревни стоит коварный правый на три через гребень.",
    "Середина этапа проходит по дамбе, ветер там сносит машину.",
    "Покрытие быстро разбивается, к вечеру на траектории появляются камни.",
    "Отличный этап для первого знакомства с машиной.",
    "Ровный ритм: правый, левый, правый, и так почти до самого финиша.",
    "Старт у лесопилки, затем длинный спуск к реке.",
    "На третьем километре связка из двух шпилек у старой часовни.",
    "Сложно выбрать шины: низины влажные, а вершины сухие.",
    "Рекордные времена здесь ставят только на новых покрышках.",
    "Узкий мост на втором секторе требует точности, а не скорости.",
    "Последние два километра идут вдоль железной дороги.",
};

struct CarInfo {
    const char* Name;
    const char* UsualClass; // "" = the game gives no class; written as two quote characters
    double Performance;
    double Popularity;
    double FirstSeen;       // share of the period before the player tries the car
    int Fan;                // profile that favours it (-1 none)
};

constexpr CarInfo Cars[] = {
    {"Ferrow R4", "Turbo Pro", 1.06, 3.0, 0.00, 0},
    {"Kalvik Sprint", "Lite 1600", 0.93, 2.0, 0.00, 1},
    {"Nordane 2000", "Серийный", 0.95, 1.5, 0.05, -1},
    {"Mirelle S16", "Lite 1600", 0.94, 1.2, 0.10, 1},
    {"Tessar Turbo 4WD", "Turbo Pro", 1.05, 2.5, 0.15, 0},
    {"Vantor RX", "Открытый", 1.08, 1.5, 0.40, 0},
    {"Belgrin Coupe", "Historic", 0.90, 0.8, 0.20, -1},
    {"Стрела-27 Ралли", "Серийный", 0.92, 1.4, 0.00, -1},
    {"Вихрь 2.0", "Открытый", 1.02, 1.6, 0.30, -1},
    {"Кречет 4x4", "Turbo Pro", 1.03, 1.3, 0.50, -1},
    {"Pelagon Veloce", "Historic", 0.91, 0.7, 0.35, 1},
    {"Quill Kitcar", "", 0.97, 0.6, 0.25, -1},
    {"Brannock \"Mk II\"", "Открытый", 1.00, 0.6, 0.55, -1},
    {"Halvard Torsion Special Works Edition", "Открытый", 1.04, 0.4, 0.60, -1},
};
constexpr const char* Classes[] = {"Серийный", "Открытый", "Lite 1600", "Turbo Pro", "Historic"};

struct ProfileInfo {
    const char* Name;
    double Share;
    double Skill;
    std::array<double, 4> Damage; // Off, Safe, Reduced, Realistic
};
constexpr ProfileInfo Profiles[] = {
    {"Vitek_77", 0.70, 1.00, {0.03, 0.07, 0.20, 0.70}},
    {"Марина", 0.22, 0.93, {0.05, 0.30, 0.50, 0.15}},
    {"Гость", 0.08, 0.85, {0.30, 0.40, 0.20, 0.10}},
};

constexpr const char* HeaderLine1 = "StageClock 0.2 - журнал проездов спецучастков. Не редактируйте этот файл вручную!";
constexpr const char* HeaderLine2 = "Дата\tСУ\tВлажн.\tИзнос\tПогода\tШины\tПовр.\tМашина\tКласс\tПрофиль\t/\tСплит 1\tСплит 2\tФиниш";
constexpr const char* RestartLine = "StageClock 0.2 - журнал открыт заново";

struct Stage {
    int No = 0;
    std::string Name; // cp1251
    Surface Kind = Surface::Gravel;
    float Length = 0;
    double BaseSpeed = 0;  // km/h of a good driver in an average car in the dry
    double Split1 = 0, Split2 = 0; // share of the distance at the split points
    double Popularity = 0;
};

// Condition codes in log order of the fields.
struct Conditions {
    int Wetness = 0, SurfAge = 0, Weather = 0, Tyres = 0, Damage = 0;
};

struct Run {
    long long Start = 0; // seconds since the epoch of sys_seconds
    int Stage = 0;       // index into the stage vector
    int Car = 0;
    int Class = -1;      // index into Classes, -1 = empty class
    int Profile = 0;
    Conditions Cond;
    bool Quoted = false;
    bool Finished = false;
    double Split1 = 0, Split2 = 0, Finish = 0;
    std::string BadField; // replaces one condition field when not empty
    int BadFieldIndex = 0;  // 0 wetness, 1 age, 2 weather, 3 tyres, 4 damage
};

std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8); }

void PutLengthString(std::string& rec, std::size_t offset, std::size_t capacity, const std::string& text) {
    const std::size_t n = std::min(text.size(), capacity);
    rec[offset] = static_cast<char>(n);
    std::memcpy(rec.data() + offset + 1, text.data(), n);
}

std::string Description(Rng& rng, Surface kind) {
    std::vector<std::string> remarks(std::begin(Remarks), std::end(Remarks));
    rng.Shuffle(remarks);
    const char* opening = nullptr;
    switch (kind) {
    case Surface::Gravel: opening = GravelOpenings[rng.Int(0, std::size(GravelOpenings) - 1)]; break;
    case Surface::Tarmac: opening = TarmacOpenings[rng.Int(0, std::size(TarmacOpenings) - 1)]; break;
    case Surface::Snow: opening = SnowOpenings[rng.Int(0, std::size(SnowOpenings) - 1)]; break;
    }
    const std::size_t target = static_cast<std::size_t>(rng.Int(100, 500));
    std::string text = Cp(opening);
    std::size_t next = 0;
    while (text.size() < target && next < remarks.size()) {
        const std::string remark = Cp(remarks[next++].c_str());
        if (text.size() + 1 + remark.size() > 500) break;
        text += ' ';
        text += remark;
    }
    return text;
}

// Splits a description over the two 255-byte fields: anywhere, at a space, or not at all.
std::pair<std::string, std::string> SplitDescription(Rng& rng, const std::string& text) {
    const int n = static_cast<int>(text.size());
    if (n <= 255 && rng.Chance(0.2)) return {text, {}};
    const int lo = std::max(1, n - 255), hi = std::min(255, n - 1);
    int k = rng.Int(lo, hi);
    if (rng.Chance(0.5)) { // after the nearest space within range
        int j = k;
        while (j > lo && text[static_cast<std::size_t>(j - 1)] != ' ') --j;
        if (text[static_cast<std::size_t>(j - 1)] == ' ') k = j;
    }
    return {text.substr(0, static_cast<std::size_t>(k)), text.substr(static_cast<std::size_t>(k))};
}

std::vector<Stage> MakeStages(Rng& rng, std::string& file, int& records) {
    std::vector<int> pool(std::size(StagePool));
    for (std::size_t i = 0; i < pool.size(); ++i) pool[i] = static_cast<int>(i);
    rng.Shuffle(pool);
    const int count = rng.Int(40, 60);
    const int gaps = rng.Int(3, 8);
    records = count + gaps + 1;

    // Stage numbers 1..records-1 except the gaps; record 0 is always empty.
    std::vector<int> numbers;
    for (int k = 1; k < records; ++k) numbers.push_back(k);
    rng.Shuffle(numbers);
    numbers.resize(static_cast<std::size_t>(count));
    std::sort(numbers.begin(), numbers.end());

    std::vector<Stage> stages;
    file.assign(static_cast<std::size_t>(records) * StageRecordSize, '\0');
    for (int k = 1; k < records; ++k)
        file[static_cast<std::size_t>(k) * StageRecordSize + 31] = static_cast<char>(k);
    // A couple of the later stages are reversed runs of earlier ones.
    std::vector<int> reversedFrom;
    for (int i = 0; i < count; ++i) {
        Stage s;
        s.No = numbers[static_cast<std::size_t>(i)];
        const StageName* base = &StagePool[pool[static_cast<std::size_t>(i)]];
        std::string suffix;
        if (reversedFrom.size() < 2 && i > 30 && rng.Chance(0.15)) {
            const int from = rng.Int(0, i - 1);
            if (std::find(reversedFrom.begin(), reversedFrom.end(), from) == reversedFrom.end()) {
                reversedFrom.push_back(from);
                base = &StagePool[pool[static_cast<std::size_t>(from)]];
                suffix = static_cast<unsigned char>(Cp(base->Name)[0]) >= 0xC0 ? Cp(" (реверс)") : " Reverse";
            }
        }
        s.Kind = base->Kind;
        s.Name = Cp(base->Name) + suffix;
        s.Name.resize(std::min<std::size_t>(s.Name.size(), 30));
        switch (s.Kind) {
        case Surface::Gravel: s.Length = static_cast<float>(rng.Uniform(3, 30)); s.BaseSpeed = rng.Uniform(72, 102); break;
        case Surface::Tarmac: s.Length = static_cast<float>(rng.Uniform(2, 25)); s.BaseSpeed = rng.Uniform(80, 118); break;
        case Surface::Snow: s.Length = static_cast<float>(rng.Uniform(2, 22)); s.BaseSpeed = rng.Uniform(64, 92); break;
        }
        s.Length = static_cast<float>(static_cast<int>(s.Length * 100.0f) / 100.0); // 12.34 km
        if (s.Length < 4) s.BaseSpeed -= 12; // short shows are tight
        s.Split1 = rng.Uniform(0.28, 0.38);
        s.Split2 = rng.Uniform(0.62, 0.72);
        const double p = rng.Uniform(0.15, 1.0);
        s.Popularity = p * p;

        std::string record(StageRecordSize, '\0');
        PutLengthString(record, 0, 30, s.Name);
        record[31] = static_cast<char>(s.No);
        const uint32_t bits = std::bit_cast<uint32_t>(s.Length);
        for (int b = 0; b < 4; ++b) record[32 + static_cast<std::size_t>(b)] = static_cast<char>((bits >> (8 * b)) & 0xFF);
        const auto [d1, d2] = SplitDescription(rng, Description(rng, s.Kind));
        PutLengthString(record, 36, 255, d1);
        PutLengthString(record, 292, 255, d2);
        file.replace(static_cast<std::size_t>(s.No) * StageRecordSize, StageRecordSize, record);
        stages.push_back(std::move(s));
    }
    // The first stage of the list is what a fresh start shows: make it one that people drive.
    const auto first = std::min_element(stages.begin(), stages.end(), [](const Stage& a, const Stage& b) {
        return StageNameLess(a.Name, b.Name);
    });
    if (first != stages.end())
        first->Popularity = 1.0;
    return stages;
}

std::string FormatDate(long long secs) {
    const sys_seconds t{seconds{secs}};
    const sys_days day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss tod{t - day};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(tod.hours().count()), static_cast<int>(tod.minutes().count()),
                  static_cast<int>(tod.seconds().count()));
    return buf;
}

void AppendTime(std::string& out, double value) {
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    out.append(buf, res.ptr);
}

// A name field as the plug-in writes it: raw, or in quotes with inner quotes doubled.
void AppendName(std::string& out, const std::string& name, bool quoted) {
    if (!quoted) {
        out += name;
        return;
    }
    out += '"';
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

int TyresFor(Rng& rng, Surface kind, int wetness) {
    if (rng.Chance(0.08)) return rng.Int(0, 6); // the player guessed wrong
    switch (kind) {
    case Surface::Tarmac: return wetness;     // 0..2
    case Surface::Gravel: return 3 + wetness; // 3..5
    case Surface::Snow: return 6;
    }
    return 0;
}

Conditions RollConditions(Rng& rng, Surface kind, int damage) {
    Conditions c;
    c.Weather = rng.Pick(std::array<double, 3>{0.55, 0.25, 0.20});
    switch (c.Weather) {
    case 0: c.Wetness = rng.Pick(std::array<double, 3>{0.85, 0.15, 0.0}); break;
    case 1: c.Wetness = rng.Pick(std::array<double, 3>{0.40, 0.40, 0.20}); break;
    default: c.Wetness = rng.Pick(std::array<double, 3>{0.0, 0.30, 0.70}); break;
    }
    if (kind == Surface::Snow && rng.Chance(0.8)) c.Wetness = 0;
    c.SurfAge = rng.Pick(std::array<double, 3>{0.30, 0.50, 0.20});
    c.Tyres = TyresFor(rng, kind, c.Wetness);
    c.Damage = damage;
    return c;
}

double ConditionFactor(const Stage& s, const Conditions& c) {
    double f = 1.0;
    if (s.Kind == Surface::Tarmac) f *= c.Wetness == 2 ? 0.86 : c.Wetness == 1 ? 0.93 : 1.0;
    if (s.Kind == Surface::Gravel) f *= c.Wetness == 2 ? 0.94 : c.Wetness == 1 ? 0.98 : 1.0;
    if (c.Weather == 2) f *= 0.97;
    if (c.SurfAge == 2 && s.Kind == Surface::Gravel) f *= 0.98;
    const bool snowTyre = c.Tyres == 6;
    const bool gravelTyre = c.Tyres >= 3 && c.Tyres <= 5;
    if (s.Kind == Surface::Snow) {
        if (!snowTyre) f *= 0.80;
    } else if (snowTyre) {
        f *= 0.88;
    } else if (gravelTyre != (s.Kind == Surface::Gravel)) {
        f *= 0.90;
    } else if (c.Tyres % 3 != c.Wetness) {
        f *= 0.96;
    }
    return f;
}

struct SessionPlan {
    long long Start = 0;
    double Progress = 0; // 0..1 through the period
    int Size = 0;
};

std::vector<SessionPlan> PlanSessions(Rng& rng, int runs, sys_days first, int dayCount) {
    std::vector<int> sizes;
    for (int left = runs; left > 0;) {
        const double u = rng.Uniform();
        const int n = std::min(left, 3 + static_cast<int>(20 * u * std::max(u, 0.5)));
        sizes.push_back(n);
        left -= n;
    }

    // Evenings and weekends, less in summer, and a few holidays without the game.
    std::vector<double> weight(static_cast<std::size_t>(dayCount));
    for (int d = 0; d < dayCount; ++d) {
        const sys_days day = first + days{d};
        const weekday wd{day};
        const unsigned month = static_cast<unsigned>(year_month_day{day}.month());
        double w = (wd == Saturday || wd == Sunday) ? 2.5 : wd == Friday ? 1.6 : 1.0;
        if (month >= 6 && month <= 8) w *= 0.6;
        if (month == 12 || month <= 2) w *= 1.3;
        weight[static_cast<std::size_t>(d)] = w;
    }
    const int breaks = dayCount / 300 + 1;
    for (int b = 0; b < breaks && dayCount > 60; ++b) {
        const int from = rng.Int(0, dayCount - 31), len = rng.Int(7, 30);
        for (int d = from; d < from + len; ++d) weight[static_cast<std::size_t>(d)] *= 0.05;
    }
    std::vector<double> cumulative(weight.size());
    double total = 0;
    for (std::size_t i = 0; i < weight.size(); ++i) cumulative[i] = total += weight[i];

    std::vector<SessionPlan> plans;
    for (int size : sizes) {
        const double x = rng.Uniform() * total;
        const int d = static_cast<int>(std::upper_bound(cumulative.begin(), cumulative.end(), x) - cumulative.begin());
        const int day = std::min(d, dayCount - 1);
        const sys_days date = first + days{day};
        const weekday wd{date};
        const bool weekend = wd == Saturday || wd == Sunday;
        long long tod;
        if (rng.Chance(0.03))
            tod = rng.Int(0, 90 * 60); // after midnight
        else if (weekend)
            tod = rng.Int(10 * 3600, 23 * 3600);
        else if (rng.Chance(0.85))
            tod = rng.Int(18 * 3600, 23 * 3600 + 1800);
        else
            tod = rng.Int(12 * 3600, 18 * 3600 - 1);
        SessionPlan p;
        p.Start = sys_seconds{date}.time_since_epoch().count() + tod;
        p.Progress = static_cast<double>(day) / dayCount;
        p.Size = size;
        plans.push_back(p);
    }
    std::sort(plans.begin(), plans.end(), [](const SessionPlan& a, const SessionPlan& b) { return a.Start < b.Start; });
    return plans;
}

int PickCar(Rng& rng, int profile, double progress) {
    std::array<double, std::size(Cars)> w{};
    for (std::size_t i = 0; i < std::size(Cars); ++i) {
        if (Cars[i].FirstSeen > progress) continue;
        w[i] = Cars[i].Popularity * (Cars[i].Fan == profile ? 4.0 : 1.0);
    }
    return rng.Pick(w);
}

int ClassOf(int car) {
    const std::string_view usual = Cars[car].UsualClass;
    for (std::size_t i = 0; i < std::size(Classes); ++i)
        if (usual == Classes[i]) return static_cast<int>(i);
    return -1;
}

std::vector<Run> MakeRuns(Rng& rng, const std::vector<Stage>& stages, const SampleOptions& o, sys_days first) {
    std::vector<Run> runs;
    runs.reserve(static_cast<std::size_t>(o.Runs));
    const std::vector<SessionPlan> plans = PlanSessions(rng, o.Runs, first, o.Days);
    std::vector<double> stageWeight;
    for (const Stage& s : stages) stageWeight.push_back(s.Popularity);
    std::vector<std::array<int, std::size(Profiles)>> practice(stages.size());

    long long clock = 0;
    int carry = 0;
    for (const SessionPlan& plan : plans) {
        const int profile = rng.Pick(std::array<double, 3>{Profiles[0].Share, Profiles[1].Share, Profiles[2].Share});
        const int damage = rng.Pick(Profiles[profile].Damage);
        const bool quoted = plan.Progress > 0.45; // a plug-in update started quoting names
        int car = PickCar(rng, profile, plan.Progress);

        // A session sticks to a handful of stages.
        const int stageCount = rng.Int(1, 4);
        std::vector<int> chosen;
        std::vector<Conditions> conds;
        for (int i = 0; i < stageCount; ++i) {
            double total = 0;
            for (double w : stageWeight) total += w;
            double x = rng.Uniform() * total;
            std::size_t k = 0;
            while (k + 1 < stageWeight.size() && x >= stageWeight[k]) x -= stageWeight[k++];
            chosen.push_back(static_cast<int>(k));
            conds.push_back(RollConditions(rng, stages[k].Kind, damage));
        }

        // Nobody plays from half past one till nine: what does not fit moves to the next session.
        const bool last = &plan == &plans.back();
        const auto quietHours = [&] {
            const long long tod = (clock % 86400 + 86400) % 86400;
            return !last && tod >= 5400 && tod < 9 * 3600;
        };
        const int size = plan.Size + carry;
        carry = 0;
        clock = std::max(clock + rng.Int(30, 150) * 60LL, plan.Start);
        if (quietHours()) {
            carry = size;
            continue;
        }
        int current = 0;
        for (int i = 0; i < size; ++i) {
            if (i > 0 && quietHours()) {
                carry = size - i;
                break;
            }
            if (i > 0 && rng.Chance(0.4)) current = rng.Int(0, stageCount - 1);
            if (rng.Chance(0.08)) car = PickCar(rng, profile, plan.Progress);
            if (rng.Chance(0.15)) conds[static_cast<std::size_t>(current)] =
                RollConditions(rng, stages[static_cast<std::size_t>(chosen[static_cast<std::size_t>(current)])].Kind, damage);

            Run r;
            r.Start = clock;
            r.Stage = chosen[static_cast<std::size_t>(current)];
            r.Car = car;
            r.Class = ClassOf(car);
            r.Profile = profile;
            r.Cond = conds[static_cast<std::size_t>(current)];
            r.Quoted = quoted;
            const Stage& s = stages[static_cast<std::size_t>(r.Stage)];
            double quit = 0.06 + (r.Cond.Weather == 2 ? 0.04 : 0) + (damage == 3 ? 0.05 : 0) + (profile == 2 ? 0.03 : 0);
            r.Finished = !rng.Chance(quit);

            int& seen = practice[static_cast<std::size_t>(r.Stage)][static_cast<std::size_t>(profile)];
            const double familiarity = 0.95 + 0.05 * seen / (seen + 5.0);
            ++seen;
            const double skill = (0.90 + 0.10 * std::min(1.0, plan.Progress * 1.5)) * Profiles[profile].Skill;
            double speed = s.BaseSpeed * Cars[car].Performance * skill * familiarity * ConditionFactor(s, r.Cond) *
                           (1 + 0.025 * rng.Normal());
            speed = std::clamp(speed, 40.0, 150.0);
            const double clean = s.Length * 3600.0 / speed;
            double sector[3] = {clean * s.Split1, clean * (s.Split2 - s.Split1), clean * (1 - s.Split2)};
            for (double& t : sector) t *= 1 + 0.01 * rng.Normal();
            if (rng.Chance(0.12)) { // an off, a spin or a stall
                const double u = rng.Uniform();
                sector[rng.Int(0, 2)] += 2 + 40 * u * u;
            }
            r.Split1 = sector[0];
            r.Split2 = sector[0] + sector[1];
            r.Finish = r.Split2 + sector[2];
            const double driven = r.Finished ? r.Finish : r.Finish * rng.Uniform(0.05, 0.9);
            clock += static_cast<long long>(driven) + rng.Int(25, 120) + (rng.Chance(0.1) ? rng.Int(180, 900) : 0);
            runs.push_back(std::move(r));
        }
    }
    return runs;
}

// Every condition value occurs at least once, however few the runs.
void CoverConditions(Rng& rng, std::vector<Run>& runs) {
    if (runs.empty()) return;
    struct Field { int Conditions::*Member; int Count; };
    const Field fields[] = {{&Conditions::Wetness, 3}, {&Conditions::SurfAge, 3}, {&Conditions::Weather, 3},
                            {&Conditions::Tyres, 7}, {&Conditions::Damage, 4}};
    for (const Field& f : fields) {
        for (int v = 0; v < f.Count; ++v) {
            const bool used = std::any_of(runs.begin(), runs.end(), [&](const Run& r) { return r.Cond.*f.Member == v; });
            if (!used) runs[static_cast<std::size_t>(rng.Int(0, static_cast<int>(runs.size()) - 1))].Cond.*f.Member = v;
        }
    }
}

// A few runs carry a condition code the reader does not know.
void SpoilConditionCodes(Rng& rng, std::vector<Run>& runs) {
    static constexpr std::pair<int, const char*> Bad[] = {{0, "5"}, {3, "7"}, {4, "-1"}, {0, "2.0"}, {2, "9"}, {1, "x"}};
    if (runs.size() < 50) return;
    const int count = 3 + static_cast<int>(runs.size()) / 1500;
    for (int i = 0; i < count; ++i) {
        Run& r = runs[static_cast<std::size_t>(rng.Int(0, static_cast<int>(runs.size()) - 1))];
        const auto& [field, text] = Bad[static_cast<std::size_t>(i) % std::size(Bad)];
        r.BadFieldIndex = field;
        r.BadField = text;
    }
}

void AppendMainLine(std::string& out, const Run& r, const std::string& stageField, const std::vector<std::string>& cars,
                    const std::vector<std::string>& classes, const std::vector<std::string>& profiles) {
    out += FormatDate(r.Start);
    out += '\t';
    out += stageField;
    const int codes[5] = {r.Cond.Wetness, r.Cond.SurfAge, r.Cond.Weather, r.Cond.Tyres, r.Cond.Damage};
    for (int i = 0; i < 5; ++i) {
        out += '\t';
        if (!r.BadField.empty() && r.BadFieldIndex == i)
            out += r.BadField;
        else
            out += static_cast<char>('0' + codes[i]);
    }
    out += '\t';
    AppendName(out, cars[static_cast<std::size_t>(r.Car)], r.Quoted || cars[static_cast<std::size_t>(r.Car)].find('"') != std::string::npos);
    out += '\t';
    if (r.Class < 0)
        out += "\"\"";
    else
        AppendName(out, classes[static_cast<std::size_t>(r.Class)], r.Quoted);
    out += '\t';
    AppendName(out, profiles[static_cast<std::size_t>(r.Profile)], r.Quoted);
    out += "\r\n";
}

void AppendTimesLine(std::string& out, const Run& r) {
    out += " \t";
    AppendTime(out, r.Split1);
    out += '\t';
    AppendTime(out, r.Split2);
    out += '\t';
    AppendTime(out, r.Finish);
    out += "\r\n";
}

// Lines the reader must drop or ignore, placed after a whole run; returns how many.
// Never a broken 19-character date: that would fail the whole read.
int AppendMalformed(Rng& rng, std::string& out, int kind, const Run& after, const std::vector<std::string>& cars,
                    const std::vector<std::string>& classes, const std::vector<std::string>& profiles) {
    switch (kind % 6) {
    case 0: // the plug-in could not tell the stage
        AppendMainLine(out, after, "0", cars, classes, profiles);
        AppendTimesLine(out, after);
        return 2;
    case 1:
        AppendMainLine(out, after, "201", cars, classes, profiles);
        return 1;
    case 2:
        out += Cp(RestartLine);
        out += "\r\n";
        return 1;
    case 3: { // noise from a broken write: no digits, and a first field far from date length
        static constexpr char Noise[] = "#@!%&*_=~^|;:<>abcxyzQWZ\t\xC0\xDF\xFF\xE9\xB8";
        const int head = rng.Int(1, 15), tail = rng.Int(0, 30);
        out += '#';
        for (int i = 0; i < head; ++i) {
            const char c = Noise[rng.Int(0, static_cast<int>(sizeof Noise) - 2)];
            out += c == '\t' ? '~' : c;
        }
        out += '\t';
        for (int i = 0; i < tail; ++i) out += Noise[rng.Int(0, static_cast<int>(sizeof Noise) - 2)];
        out += "\r\n";
        return 1;
    }
    case 4: // times written twice; after an unfinished run they would finish it, so then an empty line
        if (after.Finished)
            AppendTimesLine(out, after);
        else
            out += "\r\n";
        return 1;
    default:
        out += "\r\n";
        return 1;
    }
}

} // namespace

bool ParseStartDate(const std::string& text, SampleOptions& options) {
    int y = 0;
    unsigned m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &y, &m, &d, &tail) != 3) return false;
    if (!year_month_day{year{y}, month{m}, day{d}}.ok() || y < 1900 || y > 9000) return false;
    options.StartYear = y;
    options.StartMonth = static_cast<int>(m);
    options.StartDay = static_cast<int>(d);
    return true;
}

SampleSet GenerateSample(const SampleOptions& o) {
    const year_month_day start{year{o.StartYear}, month{static_cast<unsigned>(o.StartMonth)},
                               day{static_cast<unsigned>(o.StartDay)}};
    if (o.Runs < 0 || o.Days < 1 || !start.ok() || o.StartYear < 1900 || o.StartYear > 9000)
        throw std::invalid_argument("bad sample options");

    Rng rng(o.Seed);
    SampleSet set;
    int records = 0;
    const std::vector<Stage> stages = MakeStages(rng, set.StageFile, records);
    set.Summary.Stages = static_cast<int>(stages.size());
    set.Summary.Records = records;

    std::vector<Run> runs = MakeRuns(rng, stages, o, sys_days{start});
    CoverConditions(rng, runs);
    SpoilConditionCodes(rng, runs);

    std::vector<std::string> cars, classes, profiles;
    for (const CarInfo& c : Cars) cars.push_back(Cp(c.Name));
    for (const char* c : Classes) classes.push_back(Cp(c));
    for (const ProfileInfo& p : Profiles) profiles.push_back(Cp(p.Name));

    // Malformed lines go between whole runs, never between a run and its times.
    std::vector<std::size_t> spoilAfter;
    if (!runs.empty()) {
        const int count = 4 + static_cast<int>(runs.size()) / 800;
        for (int i = 0; i < count; ++i) spoilAfter.push_back(static_cast<std::size_t>(rng.Int(0, static_cast<int>(runs.size()) - 1)));
        std::sort(spoilAfter.begin(), spoilAfter.end());
    }

    std::string& out = set.TimesLog;
    out.reserve(runs.size() * 120 + 256);
    out += Cp(HeaderLine1);
    out += "\r\n";
    out += Cp(HeaderLine2);
    out += "\r\n";
    std::size_t nextSpoil = 0;
    int kind = 0, malformed = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run& r = runs[i];
        AppendMainLine(out, r, std::to_string(stages[static_cast<std::size_t>(r.Stage)].No), cars, classes, profiles);
        if (r.Finished) {
            AppendTimesLine(out, r);
            ++set.Summary.Finished;
        }
        for (; nextSpoil < spoilAfter.size() && spoilAfter[nextSpoil] == i; ++nextSpoil)
            malformed += AppendMalformed(rng, out, kind++, r, cars, classes, profiles);
    }
    set.Summary.Runs = static_cast<int>(runs.size());
    set.Summary.MalformedLines = malformed;
    if (!runs.empty()) {
        set.Summary.FirstDate = FormatDate(runs.front().Start);
        set.Summary.LastDate = FormatDate(runs.back().Start);
    }
    return set;
}

SampleSummary WriteSample(const std::filesystem::path& dir, const SampleOptions& options) {
    const SampleSet set = GenerateSample(options);
    std::filesystem::create_directories(dir);
    const auto write = [](const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        f.close();
        if (!f) throw std::runtime_error("cannot write " + path.string());
    };
    write(dir / "trinfo.bin", set.StageFile);
    write(dir / "zlttimes.log", set.TimesLog);
    return set.Summary;
}

} // namespace kel::sample

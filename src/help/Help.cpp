#include "help/Help.h"

#include "language/FunctionTable.h"

namespace {

constexpr THelpExample Examples[] = {
    {"Открытие 1БК: 15–17 пунктов, равномерная рука", "Balanced(N, 15, 17)"},
    {"То же, пункты двумя сравнениями (каждое сравнение в скобках)",
     "(HCP(N) >= 15) AND (HCP(N) <= 17)"},
    {"Слабые два: шесть пик и 6–10 пунктов", "(SuitLength(N, Spades) = 6) AND Range(N, 6, 10)"},
    {"Мульти: слабое открытие в любом мажоре", "Multy(N)"},
    {"Польская трефа («Берёзка»)", "Polish1c(N)"},
    {"Фит: у линии СЮ девять и больше червей и 23 пункта",
     "((SuitLength(N, Hearts) + SuitLength(S, Hearts)) >= 9) AND ((HCP(N) + HCP(S)) >= 23)"},
    {"Блок: у Востока семикарточная масть и 5–9 пунктов",
     "Shape(E, 1, 7, -1, -1, -1) AND Range(E, 5, 9)"},
    {"Шлем: у линии СЮ 31 пункт и 9 контролей",
     "((HCP(N) + HCP(S)) >= 31) AND ((Controls(N) + Controls(S)) >= 9)"},
    {"Закреплённые карты: отдайте Югу «Т К 10. К 4 3. Т 7 6 2. К Д 9» командой «Закрепить "
     "карты...», а условие ищет Северу ответ 1♥",
     "(HCP(N) >= 6) AND (SuitLength(N, Hearts) >= 4)"},
    {"В открытую: 1БК у Севера, и 3БК Севера выигрывается",
     "Balanced(N, 15, 17) AND (Tricks(N) >= 9)"},
};

THelpBlock Page(std::string title) { return {THelpBlockKind::Page, "", std::move(title), ""}; }
THelpBlock Section(std::string title) {
    return {THelpBlockKind::Section, "", std::move(title), ""};
}
THelpBlock Paragraph(std::string text) {
    return {THelpBlockKind::Paragraph, "", std::move(text), ""};
}
THelpBlock Item(std::string term, std::string text) {
    return {THelpBlockKind::Item, std::move(term), std::move(text), ""};
}

// What each operator does, by its word; the order is the table's.
std::string_view OperatorMeaning(TOperatorCode code) {
    switch (code) {
        case TOperatorCode::Or:
            return "или: истина, если истинно хотя бы одно из условий";
        case TOperatorCode::And:
            return "и: истина, если истинны оба условия";
        case TOperatorCode::Equal:
            return "равно";
        case TOperatorCode::GreaterOrEqual:
            return "больше или равно";
        case TOperatorCode::Greater:
            return "больше";
        case TOperatorCode::LessOrEqual:
            return "меньше или равно";
        case TOperatorCode::Less:
            return "меньше";
        case TOperatorCode::NotEqual:
            return "не равно";
        case TOperatorCode::Plus:
            return "сумма чисел";
        case TOperatorCode::Minus:
            return "разность чисел";
    }
    return "";
}

void AddLanguage(std::vector<THelpBlock>& blocks) {
    blocks.push_back(Page("Условие"));
    blocks.push_back(Paragraph(
        "Условие — выражение, истинное для нужных раздач. Генератор сдаёт случайные раздачи и "
        "оставляет те, для которых условие истинно. Позиции: N, E, S, W (North, East, South, "
        "West); масти: Spades, Hearts, Diamonds, Clubs. Числа целые; истина и ложь — TRUE и "
        "FALSE. Большие и малые буквы не различаются."));
    blocks.push_back(Section("Функции"));
    blocks.push_back(Paragraph(
        "Первый параметр функции — позиция. Параметр в квадратных скобках можно пропустить "
        "(пустое место между запятыми тоже пропуск): функция возьмёт значение, указанное в "
        "скобках после описания, или не станет ограничивать руку."));
    for (const TFunctionRow& function : FunctionTable()) {
        std::string text(function.Help.Meaning);
        text +=
            function.Result == vtBoolean ? " Значение — истина или ложь." : " Значение — число.";
        blocks.push_back(Item(std::string(function.Help.Usage), text));
        blocks.push_back(
            {THelpBlockKind::Example, "", "Пример", std::string(function.Help.Example)});
    }
    blocks.push_back(Section("Операторы и их порядок"));
    blocks.push_back(Item("NOT", "не: отрицание всего, что стоит справа до закрывающей скобки"));
    for (const TOperatorRow& row : OperatorTable())
        blocks.push_back(Item(std::string(row.Word), std::string(OperatorMeaning(row.Code))));
    blocks.push_back(Paragraph(
        "Все операторы равны по старшинству и группируются справа налево: a - b - c читается "
        "как a - (b - c), а HCP(N) >= 15 AND HCP(N) <= 17 — как HCP(N) >= (15 AND (HCP(N) <= "
        "17)), и это ошибка. Поэтому каждое сравнение, кроме последнего, заключайте в скобки: "
        "(HCP(N) >= 15) AND (HCP(N) <= 17)."));
    blocks.push_back(Section("Примеры условий"));
    blocks.push_back(Paragraph("В окне справки пример вставляется в редактор условия щелчком."));
    for (const THelpExample& example : Examples)
        blocks.push_back({THelpBlockKind::Example, "", std::string(example.Title),
                          std::string(example.Condition)});
}

void AddCommands(std::vector<THelpBlock>& blocks) {
    blocks.push_back(Page("Команды"));
    blocks.push_back(Section("Клавиатура"));
    blocks.push_back(Paragraph(
        "F1 — эта справка. Alt или F10 открывает меню, Alt с подчёркнутой буквой — нужное меню "
        "или команду. Tab и Shift+Tab переходят от поля к полю, из редактора условия тоже. "
        "Ctrl+Вверх и Ctrl+Вниз листают раздачи. F3 или Enter на руке (до неё доходит Tab) "
        "показывает сведения о раздаче. Подсказка к команде меню видна в строке состояния внизу "
        "окна."));
    blocks.push_back(Section("Анализ в открытую"));
    blocks.push_back(Paragraph(
        "«Анализ» → «Анализ в открытую» (Ctrl+D) решает каждую раздачу в открытую (двойной "
        "болван): "
        "сколько взяток берёт каждая позиция в каждой деноминации, и пар. Таблица взяток видна в "
        "окне сведений о раздаче. Номер сдачи, сдающий, зона и, после анализа, пар видны в "
        "середине между руками. Функция Tricks ставит такой анализ в условие."));
    blocks.push_back(Section("Закреплённые карты"));
    blocks.push_back(Paragraph(
        "«Раздачи» → «Закрепить карты...» (Ctrl+K) отдаёт карты позициям до сдачи: генератор сдаёт "
        "только "
        "остальные. Рука пишется мастями от пик через точку, 10 или T — десятка; можно писать "
        "русскими буквами: Т — туз, К — король, Д — дама, В — валет (ТК10.К43.Т762.КД9). "
        "Подходит и строка PBN: N:AKT.K43.A762.KQ9 - - -."));
    blocks.push_back(Section("Файлы"));
    blocks.push_back(Paragraph(
        "Раздачи открываются и сохраняются в трёх форматах: раздачи (.dls), PBN (.pbn) и LIN "
        "(.lin); формат открываемого файла узнаётся по содержимому. Среди типов файлов при "
        "открытии есть «Все файлы раздач» — все три формата сразу; окно выбора открывается на "
        "типе, выбранном в прошлый раз. Условия хранятся в файлах .cnd в кодировке "
        "Windows-1251."));
    blocks.push_back(Section("Копирование сдачи"));
    blocks.push_back(Paragraph(
        "Правая кнопка мыши на руках (или клавиша контекстного меню на руке) открывает меню. "
        "«Копировать сдачу» кладёт текущую сдачу в буфер обмена диаграммой, которую можно "
        "вставить в письмо или на форум, и игрой PBN. «Вставить сдачу» добавляет раздачи из "
        "буфера обмена: игры PBN или раздачу вида N:AK5.QJ3.T842.965 … (четыре руки по часовой "
        "стрелке от названной). Ctrl+V, как и прежде, — «Сохранить»."));
    blocks.push_back(Section("Сдающий и зона"));
    blocks.push_back(Paragraph(
        "Обычно сдающий и зона идут по кругу от номера сдачи: сдача 1 — сдаёт Север, никто в "
        "зоне, сдача 2 — Восток, зона СЮ, и так далее. «Раздачи» → «Сдающий и зона...» задаёт "
        "для новых раздач одного сдающего, одну зону (никто, СЮ, ВЗ, обе) или и то и другое; "
        "выбор хранится в korvana.ini. Сдачи из открытых файлов сохраняют своих сдающих и "
        "свои зоны. В командной строке то же задают --dealer n|e|s|w и --vul none|ns|ew|both."));
    blocks.push_back(Section("Повторить прогон"));
    blocks.push_back(Paragraph(
        "Два прогона подряд продолжают одну случайную последовательность, поэтому повторный "
        "прогон с тем же ключом даёт другие раздачи. После каждого прогона его начальное число "
        "видно в подсказке к счётчику «Всего сдано» и в строке состояния; его же называет тег "
        "Generator сохранённого файла PBN. «Раздачи» → «Повторить прогон...» сдаёт с этого числа "
        "(или с любого другого 32-битного) те же раздачи по тому же условию и в том же "
        "количестве. Ключевое число повторяет первый прогон после того, как его ввели: введите "
        "ключ заново, и следующий прогон даст те же раздачи."));
    blocks.push_back(Section("Надёжная раздача"));
    blocks.push_back(Paragraph(
        "Обычная сдача повторяется по ключу: тот же ключ, то же условие — те же раздачи. "
        "«Раздачи» → «Надёжная раздача» (Ctrl+Shift+G) сдаёт от криптографического источника: "
        "по одной руке нельзя вычислить остальные, как нужно для турнира. Поле «Ключевое число» "
        "тогда не нужно; «Секрет последней раздачи...» (Ctrl+Shift+C) показывает секрет, который "
        "повторяет эти раздачи: его хранит судья, не игроки, а рядом commitment, который можно "
        "опубликовать до турнира. «Раздачи» → «Повторить по секрету...» сдаёт такой набор "
        "заново по его секрету из 64 цифр и отложенному тексту, если набор сдан с ним; «Проверить "
        "по секрету...» сдаёт набор заново с условием и закреплёнными картами окна и сравнивает с "
        "ним сдачи коллекции. В командной строке generate без --key сдаёт надёжно и печатает "
        "секрет, --secret-file повторяет такую сдачу по секрету из файла, verify проверяет "
        "набор."));
    blocks.push_back(Section("Моделирование"));
    blocks.push_back(Paragraph(
        "Меню «Анализ»: «Сравнение вариантов...» (F5) сравнивает контракты на раздачах в открытую "
        "(очки, IMP, матчпойнты), «Первый ход...» (F6) показывает, сколько взяток берёт защита "
        "после "
        "каждой карты ходящего, «Распределение...» (F7) считает, как часто выражение принимает "
        "каждое "
        "значение."));
    blocks.push_back(Section("Раздаточный материал"));
    blocks.push_back(Paragraph(
        "«Раздачи» → «Раздаточный материал...» (Ctrl+H) готовит для занятия PDF или печать: "
        "диаграммы раздач, при желании с анализом в открытую; korvana-cli handout делает то же "
        "из файла."));
    blocks.push_back(Section("Командная строка"));
    blocks.push_back(Paragraph(
        "korvana-cli делает то же без окна: generate сдаёт раздачи по условию (--condition, "
        "--fixed, --key, --count, --out), check проверяет условие, stats и listing печатают "
        "отчёты по файлу, convert переводит раздачи из формата в формат, analyze решает "
        "раздачи в открытую, simulate, leads и tabulate моделируют, handout готовит раздаточный "
        "материал. korvana-cli КОМАНДА --help "
        "описывает параметры команды."));
    blocks.push_back(Item("korvana-cli generate --count 10 --condition \"Multy(N)\"",
                          "десять раздач со слабым открытием у Севера"));
    blocks.push_back(Item("korvana-cli generate --fixed \"S:ТК10.К43.Т762.КД9\" --out урок.pbn",
                          "раздачи с закреплённой рукой Юга, в файл PBN"));
}

std::string Escaped(std::string_view text, bool html) {
    std::string result;
    for (char c : text) {
        if (html && c == '<')
            result += "&lt;";
        else if (html && c == '>')
            result += "&gt;";
        else if (html && c == '&')
            result += "&amp;";
        else if (html && c == '"')
            result += "&quot;";
        else if (!html && c == '\\')
            result += "\\e";
        else if (!html && c == '-')
            result += "\\-";
        else
            result += c;
    }
    return result;
}

// A man-page text line may not begin with a dot or an apostrophe.
std::string ManLine(std::string_view text) {
    std::string line = Escaped(text, false);
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line.insert(0, "\\&");
    return line;
}

}  // namespace

std::span<const THelpExample> HelpExamples() { return Examples; }

std::vector<THelpBlock> HelpBlocks() {
    std::vector<THelpBlock> blocks;
    AddLanguage(blocks);
    AddCommands(blocks);
    return blocks;
}

std::string HelpHtml(const std::vector<THelpBlock>& blocks) {
    std::string html = "<html><body>";
    int examples = 0;
    for (const THelpBlock& block : blocks) {
        switch (block.Kind) {
            case THelpBlockKind::Page:
                html += "<h2>" + Escaped(block.Text, true) + "</h2>";
                break;
            case THelpBlockKind::Section:
                html += "<h3>" + Escaped(block.Text, true) + "</h3>";
                break;
            case THelpBlockKind::Paragraph:
                html += "<p>" + Escaped(block.Text, true) + "</p>";
                break;
            case THelpBlockKind::Item:
                html += "<p><b><code>" + Escaped(block.Term, true) + "</code></b> — " +
                        Escaped(block.Text, true) + "</p>";
                break;
            case THelpBlockKind::Example: {
                const std::string link = "insert:" + std::to_string(examples++);
                html += "<p style=\"margin-left:20px\">" + Escaped(block.Text, true) +
                        ": <a href=\"" + link + "\"><code>" + Escaped(block.Code, true) +
                        "</code></a></p>";
                break;
            }
        }
    }
    return html + "</body></html>";
}

std::string HelpMan(const std::vector<THelpBlock>& blocks) {
    std::string man = ".SH СПРАВКА\n";
    for (const THelpBlock& block : blocks) {
        switch (block.Kind) {
            case THelpBlockKind::Page:
                man += ".SS " + ManLine(block.Text) + "\n";
                break;
            case THelpBlockKind::Section:
                man += ".PP\n.B " + ManLine(block.Text) + "\n";
                break;
            case THelpBlockKind::Paragraph:
                man += ".PP\n" + ManLine(block.Text) + "\n";
                break;
            case THelpBlockKind::Item:
                man += ".TP\n.B " + ManLine(block.Term) + "\n" + ManLine(block.Text) + "\n";
                break;
            case THelpBlockKind::Example:
                man +=
                    ".RS\n" + ManLine(block.Text) + ":\n.br\n.B " + ManLine(block.Code) + "\n.RE\n";
                break;
        }
    }
    return man;
}

std::string HelpMarkdown(const std::vector<THelpBlock>& blocks) {
    std::string md = "# Справка\n";
    for (const THelpBlock& block : blocks) {
        switch (block.Kind) {
            case THelpBlockKind::Page:
                md += "\n## " + block.Text + "\n";
                break;
            case THelpBlockKind::Section:
                md += "\n### " + block.Text + "\n";
                break;
            case THelpBlockKind::Paragraph:
                md += "\n" + block.Text + "\n";
                break;
            case THelpBlockKind::Item:
                md += "\n- `" + block.Term + "` — " + block.Text + "\n";
                break;
            case THelpBlockKind::Example:
                md += "\n  " + block.Text + ": `" + block.Code + "`\n";
                break;
        }
    }
    return md;
}

#pragma once
// "Файл → Экспорт результатов для рейтинга...": asks for a file name and writes the results in the
// rating portal's format, or names the players whose name is not two words.
class QWidget;

namespace quelna {

struct Tournament;

void exportRatingCommand(QWidget* owner, const Tournament& t);

} // namespace quelna

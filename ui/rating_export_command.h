#pragma once
// "Файл → Экспорт результатов для рейтинга...": asks for a file name and writes the results in the
// rating portal's format, after naming what the portal will refuse (too few players or rounds,
// names that are not two words) and letting the organiser write it even so.
class QWidget;

namespace quelna {

struct Tournament;

void exportRatingCommand(QWidget* owner, const Tournament& t);

} // namespace quelna

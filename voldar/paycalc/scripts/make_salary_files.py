#!/usr/bin/env python3
"""Writes the salary files shipped in Data/: Windows-1251, CR LF, a heading
line, three lines per record (number, name, salary) and the two-line end
marker. Run from anywhere: python3 make_salary_files.py [DATA_FOLDER]."""

import pathlib
import sys

# Monthly salary by rank, roubles, in force from 1 October 2023. The generals'
# and the marshal's figures are the 2012 scale indexed by the same steps.
RANKS = [
    ("Рядовой (матрос)", 6659),
    ("Ефрейтор (старший матрос)", 7324),
    ("Младший сержант (старшина 2 статьи)", 7992),
    ("Сержант (старшина 1 статьи)", 8657),
    ("Старший сержант (главный старшина)", 9323),
    ("Старшина (главный корабельный старшина)", 9989),
    ("Прапорщик (мичман)", 10653),
    ("Старший прапорщик (старший мичман)", 11320),
    ("Младший лейтенант", 12651),
    ("Лейтенант", 13318),
    ("Старший лейтенант", 13983),
    ("Капитан (капитан-лейтенант)", 14647),
    ("Майор (капитан 3 ранга)", 15315),
    ("Подполковник (капитан 2 ранга)", 15981),
    ("Полковник (капитан 1 ранга)", 17312),
    ("Генерал-майор (контр-адмирал)", 26631),
    ("Генерал-лейтенант (вице-адмирал)", 30626),
    ("Генерал-полковник (адмирал)", 35953),
    ("Генерал армии (адмирал флота)", 39947),
    ("Маршал Российской Федерации", 53260),
]
RANK_HEADING = (
    "Оклады по воинским званиям, руб. в месяц, с 1 октября 2023 г.; "
    "для генералов и маршала - шкала 2012 г., проиндексированная теми же шагами "
    "(не из опубликованной таблицы)"
)

# Position tariff grades 1..50: an indicative straight-line scale through
# grade 1 (13318) and grade 10, the platoon commander (26636).
FIRST_GRADE = 13318
GRADES = [(f"{g} тарифный разряд", round(FIRST_GRADE * (g + 8) / 9)) for g in range(1, 51)]
GRADE_HEADING = (
    "Оклады по тарифным разрядам воинских должностей, руб. в месяц; "
    "шкала ориентировочная: 1 разряд 13318, 10 разряд (командир взвода) 26636, "
    "остальные разряды - равномерно между и после этих точек"
)


def salary_file(heading, records):
    lines = [heading]
    for number, (name, salary) in enumerate(records, start=1):
        assert "," not in name and name
        lines += [str(number), name, str(salary)]
    lines += ["", ""]
    return "".join(line + "\r\n" for line in lines).encode("cp1251")


def main():
    here = pathlib.Path(__file__).resolve()
    data = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parents[3] / "Data"
    assert GRADES[0][1] == 13318 and GRADES[9][1] == 26636
    (data / "Zvanie.Txt").write_bytes(salary_file(RANK_HEADING, RANKS))
    (data / "Dolznost.Txt").write_bytes(salary_file(GRADE_HEADING, GRADES))


if __name__ == "__main__":
    main()

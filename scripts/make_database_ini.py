#!/usr/bin/env python3
"""Writes data/database.ini: the sample definitions of the demo, in cp1251 with CRLF line ends.

The addresses and formulas match what the ECU simulator serves. Run from anywhere:
    python3 scripts/make_database_ini.py
"""

from pathlib import Path

# index: (CodeEn, NameEn, UnitEn, NameRu, UnitRu, Address, Signed, Formula, Digits, Min, Max)
PARAMETERS = [
    ("NMOT", "Engine speed", "rpm", "Обороты двигателя", "об/мин", "0100", 0, "X/4", 0, 0, 3000),
    ("TWAT", "Coolant temperature", "°C", "Температура охлаждающей жидкости", "°C",
     "0102", 1, "X*0.1", 1, -40, 130),
    ("TFUEL", "Fuel temperature", "°C", "Температура топлива", "°C", "0104", 1, "X*0.1", 1, -40, 120),
    ("PBOOST", "Boost pressure", "kPa", "Давление наддува", "кПа", "0106", 0, "X*0.1", 1, 0, 300),
    ("RACK", "Rack position", "mm", "Положение рейки", "мм", "0108", 1, "X/256", 2, 0, 15),
    ("QINJ", "Injected quantity", "mg/stroke", "Цикловая подача", "мг/цикл",
     "010A", 0, "X*0.01", 1, 0, 150),
    ("UBAT", "Battery voltage", "V", "Напряжение бортсети", "В", "010C", 0, "X/1000", 2, 0, 32),
    ("PEDAL", "Accelerator pedal", "%", "Педаль акселератора", "%", "01A4", 0, "X*100/1023", 1, 0, 100),
    ("VSPD", "Vehicle speed", "km/h", "Скорость автомобиля", "км/ч", "010E", 0, "X/128", 1, 0, 130),
    ("TAIR", "Intake air temperature", "°C", "Температура воздуха на впуске", "°C",
     "0110", 0, "X-40", 0, -40, 80),
    ("TOIL", "Oil temperature", "°C", "Температура масла", "°C", "0112", 0, "X-40", 0, -40, 150),
    ("POIL", "Oil pressure", "kPa", "Давление масла", "кПа", "0114", 0, "X*4", 0, 0, 1000),
    ("NSET", "Set engine speed", "rpm", "Заданные обороты", "об/мин", "0116", 0, "X/4", 0, 0, 3000),
    ("TINJ", "Injection timing", "°CA BTDC", "Угол опережения впрыска", "° п.к.в.",
     "0118", 1, "X/100", 2, -10, 30),
    ("LOAD", "Engine load", "%", "Нагрузка двигателя", "%", "011A", 0, "X*100/255", 0, 0, 100),
    ("MAF", "Air mass flow", "kg/h", "Расход воздуха", "кг/ч", "011C", 0, "X*0.1", 1, 0, 1000),
    ("PATM", "Atmospheric pressure", "kPa", "Атмосферное давление", "кПа",
     "011E", 0, "X*0.1", 1, 50, 110),
    ("TEXH", "Exhaust gas temperature", "°C", "Температура отработавших газов", "°C",
     "0120", 0, "X*0.5-50", 0, -50, 800),
    ("QLIM", "Smoke limit quantity", "mg/stroke", "Ограничение подачи по дымности", "мг/цикл",
     "0122", 0, "X*0.01", 1, 0, 150),
    ("RACKSET", "Rack set point", "mm", "Заданное положение рейки", "мм", "0124", 1, "X/256", 2, 0, 15),
    ("FUELRATE", "Fuel consumption", "l/h", "Расход топлива", "л/ч", "0126", 0, "X*0.01", 2, 0, 60),
    ("UREF", "Sensor supply voltage", "V", "Напряжение питания датчиков", "В",
     "0128", 0, "X/1000", 2, 0, 6),
    ("TECU", "ECU temperature", "°C", "Температура блока управления", "°C",
     "012A", 1, "X*0.1", 1, -40, 125),
    ("TORQUE", "Engine torque", "%", "Крутящий момент", "%", "012C", 0, "X/10", 1, 0, 100),
    ("FAN", "Fan drive duty", "%", "Управление вентилятором", "%", "012E", 0, "X*100/255", 0, 0, 100),
    ("NIDLE", "Idle speed set point", "rpm", "Обороты холостого хода", "об/мин",
     "0130", 0, "X/4", 0, 0, 1500),
    ("VCRUISE", "Cruise control set speed", "km/h", "Заданная скорость круиза", "км/ч",
     "0132", 0, "X/128", 1, 0, 130),
    ("PBSET", "Boost pressure set point", "kPa", "Заданное давление наддува", "кПа",
     "0134", 0, "X*0.1", 1, 0, 300),
    ("IACT", "Rack actuator current", "A", "Ток актуатора рейки", "А", "0136", 1, "X/1000", 2, -5, 5),
    ("URACK", "Rack sensor voltage", "V", "Напряжение датчика рейки", "В",
     "0138", 0, "X*5/1023", 2, 0, 5),
    ("NCAM", "Camshaft speed", "rpm", "Обороты распредвала", "об/мин", "013A", 0, "X/4", 0, 0, 1500),
    ("TCHARGE", "Charge air temperature", "°C", "Температура наддувочного воздуха", "°C",
     "013C", 0, "X-40", 0, -40, 120),
    ("CLUTCH", "Clutch switch", "", "Выключатель сцепления", "", "013E", 0, "X", 0, 0, 1),
    ("BRAKE", "Brake switch", "", "Выключатель тормоза", "", "0140", 0, "X", 0, 0, 1),
    ("PFUEL", "Fuel supply pressure", "kPa", "Давление подкачки топлива", "кПа",
     "0142", 0, "X*0.1", 1, 0, 600),
    ("TRAIL", "Hours to service", "h", "Часов до ТО", "ч", "0144", 0, "X", 0, 0, 500),
]

# bit of the ECU error list: (Code, NameEn, NameRu, ReasonEn, ReasonRu)
ERRORS = {
    0: ("P0115", "Coolant temperature sensor: open circuit",
        "Датчик температуры охлаждающей жидкости: обрыв цепи",
        "Signal above 4.9 V: broken wire or connector off",
        "Сигнал выше 4,9 В: обрыв провода или отсоединён разъём"),
    1: ("P0117", "Coolant temperature sensor: short to ground",
        "Датчик температуры охлаждающей жидкости: замыкание на массу",
        "Signal below 0.1 V: wire chafed through to ground",
        "Сигнал ниже 0,1 В: провод замкнут на массу"),
    2: ("P0182", "Fuel temperature sensor: short to ground",
        "Датчик температуры топлива: замыкание на массу",
        "Signal below 0.1 V: sensor or wiring damaged",
        "Сигнал ниже 0,1 В: повреждён датчик или проводка"),
    5: ("P0237", "Boost pressure sensor: signal too low",
        "Датчик давления наддува: низкий уровень сигнала",
        "Signal below 0.2 V: open supply or short to ground",
        "Сигнал ниже 0,2 В: обрыв питания или замыкание на массу"),
    6: ("P0238", "Boost pressure sensor: signal too high",
        "Датчик давления наддува: высокий уровень сигнала",
        "Signal above 4.8 V: open ground or short to supply",
        "Сигнал выше 4,8 В: обрыв массы или замыкание на питание"),
    8: ("P0335", "Engine speed sensor: no signal",
        "Датчик оборотов двигателя: нет сигнала",
        "No pulses while the camshaft turns: gap, sensor or wiring",
        "Нет импульсов при вращении распредвала: зазор, датчик или проводка"),
    9: ("P0340", "Camshaft sensor: no signal",
        "Датчик распредвала: нет сигнала",
        "No pulses while the engine turns: sensor or wiring",
        "Нет импульсов при вращении двигателя: датчик или проводка"),
    12: ("P0500", "Vehicle speed sensor: implausible signal",
         "Датчик скорости автомобиля: недостоверный сигнал",
         "No speed signal while under load in gear",
         "Нет сигнала скорости при движении под нагрузкой"),
    17: ("P0219", "Engine overspeed",
         "Превышение допустимых оборотов двигателя",
         "Engine speed above 2800 rpm: downhill in a low gear",
         "Обороты выше 2800 об/мин: спуск на низкой передаче"),
    20: ("P0217", "Engine overheating",
         "Перегрев двигателя",
         "Coolant above 105 °C: low coolant level, thermostat or fan",
         "Температура ОЖ выше 105 °C: мало жидкости, термостат или вентилятор"),
    23: ("P0524", "Oil pressure too low",
         "Низкое давление масла",
         "Below 80 kPa with the engine running: oil level, pump or sensor",
         "Ниже 80 кПа на работающем двигателе: уровень масла, насос или датчик"),
    24: ("P0299", "Boost pressure too low",
         "Недостаточное давление наддува",
         "Below set point under load: leak in the charge air path or turbocharger",
         "Ниже заданного под нагрузкой: негерметичность впуска или турбокомпрессор"),
    25: ("P0234", "Boost pressure too high",
         "Избыточное давление наддува",
         "Above set point: wastegate stuck closed",
         "Выше заданного: заклинил перепускной клапан турбины"),
    31: ("P0562", "Battery voltage too low",
         "Низкое напряжение бортсети",
         "Below 18 V: alternator, battery or wiring",
         "Ниже 18 В: генератор, аккумуляторы или проводка"),
    32: ("P0563", "Battery voltage too high",
         "Высокое напряжение бортсети",
         "Above 32 V: voltage regulator fault",
         "Выше 32 В: неисправен регулятор напряжения"),
    40: ("P0641", "Sensor supply voltage out of range",
         "Напряжение питания датчиков вне допуска",
         "Not 5 V +/- 0.25 V: a sensor supply line is shorted",
         "Не 5 В +/- 0,25 В: замыкание в цепи питания датчика"),
    45: ("P1211", "Rack position deviation",
         "Отклонение положения рейки от заданного",
         "Rack does not follow its set point: rack sticks or actuator fault",
         "Рейка не отрабатывает задание: заедание рейки или неисправен актуатор"),
    46: ("P1212", "Rack position sensor: circuit fault",
         "Датчик положения рейки: неисправность цепи",
         "Signal outside 0.2 V to 4.8 V: sensor or wiring",
         "Сигнал вне диапазона 0,2-4,8 В: датчик или проводка"),
    47: ("P1213", "Rack actuator: open circuit",
         "Актуатор рейки: обрыв цепи",
         "No actuator current while driven: coil or wiring open",
         "Нет тока актуатора при управлении: обрыв обмотки или проводки"),
    50: ("P0120", "Accelerator pedal sensor: circuit fault",
         "Датчик педали акселератора: неисправность цепи",
         "Signal out of range or the two tracks disagree",
         "Сигнал вне диапазона или каналы датчика не совпадают"),
    51: ("P0571", "Brake switch: implausible signal",
         "Выключатель тормоза: недостоверный сигнал",
         "Main and redundant contacts disagree",
         "Основной и дублирующий контакты не совпадают"),
    60: ("P0545", "Exhaust gas temperature sensor: open circuit",
         "Датчик температуры отработавших газов: обрыв цепи",
         "Signal above 4.9 V: broken wire or connector off",
         "Сигнал выше 4,9 В: обрыв провода или отсоединён разъём"),
    64: ("P0110", "Intake air temperature sensor: circuit fault",
         "Датчик температуры воздуха на впуске: неисправность цепи",
         "Signal out of range: sensor or wiring",
         "Сигнал вне диапазона: датчик или проводка"),
    72: ("P0100", "Air mass flow sensor: circuit fault",
         "Датчик расхода воздуха: неисправность цепи",
         "Signal out of range or no supply",
         "Сигнал вне диапазона или нет питания"),
    88: ("U0001", "CAN bus: no communication",
         "Шина CAN: нет связи",
         "No messages from the other units: bus wiring or terminators",
         "Нет сообщений от других блоков: проводка шины или терминаторы"),
    96: ("U0155", "Diagnostic line fault",
         "Неисправность диагностической линии",
         "Line held low: short to ground or a faulty tester",
         "Линия удерживается в нуле: замыкание на массу или неисправен тестер"),
    100: ("P0606", "ECU processor fault",
          "Неисправность процессора блока управления",
          "Internal self-test failed: replace the ECU",
          "Не пройден внутренний тест: замените блок управления"),
    120: ("P0603", "EEPROM checksum error",
          "Ошибка контрольной суммы EEPROM",
          "Stored data damaged: reprogram the ECU",
          "Повреждены сохранённые данные: перепрограммируйте блок"),
    127: ("P1600", "Service interval exceeded",
          "Превышен интервал технического обслуживания",
          "Hours to service reached zero",
          "Счётчик часов до ТО достиг нуля"),
}

HEADER = """\
; database.ini - parameter and error definitions of vmxdiag, sample for the demo.
; Encoding Windows-1251 (cp1251), CRLF line ends. Generated by scripts/make_database_ini.py.
;
; [Configuration] Language: RU or EN; the program writes it back when it ends.
; [0000] to [007F]: parameter definitions 0 to 127. Address is the ECU address
;   in bare hexadecimal digits; Formula turns the raw word X into the value shown.
;   Parameters 0-15 form set 1, 16-31 set 2.
; [0100] to [017F]: error definitions; section 0100+n describes bit n of the
;   ECU's error list (bit n mod 8 of byte n div 8).
"""


def number(value):
    return str(value) if float(value).is_integer() else repr(value)


def build():
    lines = HEADER.splitlines()
    lines += ["", "[Configuration]", "Language=RU"]
    for index, (code, name_en, unit_en, name_ru, unit_ru, address, signed, formula, digits,
                low, high) in enumerate(PARAMETERS):
        lines += [
            "",
            f"[{index:04X}]",
            f"CodeEn={code}",
            f"NameRu={name_ru}",
            f"NameEn={name_en}",
            f"UnitRu={unit_ru}",
            f"UnitEn={unit_en}",
            f"Address={address}",
            "Length=2",
            f"Signed={signed}",
            f"Formula={formula}",
            f"Digits={digits}",
            f"Min={number(low)}",
            f"Max={number(high)}",
        ]
    for bit, (code, name_en, name_ru, reason_en, reason_ru) in sorted(ERRORS.items()):
        lines += [
            "",
            f"[{0x100 + bit:04X}]",
            f"Bit={bit}",
            f"Code={code}",
            f"NameRu={name_ru}",
            f"NameEn={name_en}",
            f"ReasonRu={reason_ru}",
            f"ReasonEn={reason_en}",
        ]
    return "".join(line + "\r\n" for line in lines)


def main():
    target = Path(__file__).resolve().parent.parent / "data" / "database.ini"
    target.write_bytes(build().encode("cp1251"))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the installation text files into resources/install (Windows-1252, CR LF).

Run it again after changing a default; the program itself never writes these files.
"""
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "resources" / "install"

SPECIALTIES = [
    "Clínica Geral", "Cardiologia", "Dermatologia", "Ginecologia", "Pediatria",
    "Ortopedia", "Oftalmologia", "Otorrino", "Neurologia", "Psiquiatria",
    "Urologia", "Endocrinologia", "Gastroenterolog", "Pneumologia", "Reumatologia",
    "Nefrologia", "Oncologia", "Geriatria", "Nutrição", "Psicologia",
    "Fisioterapia", "Fonoaudiologia", "Odontologia", "Angiologia", "Mastologia",
]
SITUATIONS = [
    "Particular", "Convênio", "SUS", "Retorno", "Funcionário",
    "Dependente func.", "Cortesia", "Encaixe", "",
]


def write(name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    (OUT / name).write_bytes(data)


def code2(c):
    return f"{c:<2}"


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    write("Automatica.Txt", ["Nao", "01/01/2000", "A2000", "Sem", "Clínica Modelo", "", "",
                             "E:\\Consultas\\Espelho", "C:\\Consultas\\Foto\\Capa.png"])
    write("DataIniFim.Txt", ["01/01/2000"])
    write("DataAnt.Txt", ["01/01/2000"])
    register = [code2(c) + " " * 65 for c in range(1, 51)]
    write("CodMed.Txt", register)
    write("BaseCodMed.Txt", register)
    names = [""] + [code2(c) + " " * 25 for c in range(1, 51)]
    write("Medicos.Txt", names)
    write("BaseMedicos.Txt", names)
    write("DiaMedHora.Txt", [""] * 8400)
    write("BaseSemanas.Txt", [])
    write("Horarios.Txt", ["   Médicos"] + [str(s) for s in range(1, 25)])
    write("Esp.Txt", [f"{50 + k} {(SPECIALTIES + [''] * 30)[k - 1]}" for k in range(1, 31)])
    write("BaseEsp.Txt", [f"{50 + k} " for k in range(1, 31)])
    write("Sit.Txt", [f"{k}  {SITUATIONS[k - 1]}" for k in range(1, 10)])
    write("BaseSit.Txt", [f"{k}  " for k in range(1, 10)])
    for empty in ("ArqFolgas.Txt", "ArqVazio.Txt", "ArqMov.Txt", "ArqMovA.Txt", "MovMes.Txt",
                  "AnoFindoNovo.Txt"):
        write(empty, [])
    write("CodSist.Txt", ["01/01/2000 00:00:00"])
    write("IntA.Txt", ["Nao"])
    zeros = "0000" * 12
    history = ["00 2023 2024 2025"] + [f"{50 + k}" + "00000" * 3 for k in range(1, 31)]
    write("Historico.Txt", history)
    doctor_months = [code2(c) + "00" + zeros for c in range(1, 51)] + \
                    [f"{e}{e}" + zeros for e in range(51, 81)]
    write("MedMeses.Txt", doctor_months)
    write("BaseMedMeses.Txt", doctor_months)
    esp_meses = [f"{e}" + zeros for e in range(51, 81)]
    write("EspMeses.Txt", esp_meses)
    write("BaseEspMeses.Txt", esp_meses)
    # One row for each situation 1 to 9 and specialty 51 to 80; the last 30 rows
    # (situation 0) only complete the fixed 300 lines and never match a lookup.
    situation_months = [f"{s}{e}" + zeros for s in range(1, 10) for e in range(51, 81)] + \
                       [f"0{e}" + zeros for e in range(51, 81)]
    write("SitMeses.Txt", situation_months)
    write("BaseSitMeses.Txt", situation_months)
    weekly = ["00000000"] * 2700
    write("PrevReal.Txt", weekly)
    write("BasePrevReal.Txt", weekly)


if __name__ == "__main__":
    main()

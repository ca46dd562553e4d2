#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes the demo's sample invoices (demo/invoices/*.doc and *.docx) and checks them.

Every supplier, address, article and amount is fictitious. Each invoice is written as a flat
OpenDocument text (.fodt) in a monospaced font, with every run of blanks kept exactly, and
converted by LibreOffice:

    apt-get install -y --no-install-recommends libreoffice-writer-nogui
    python3 demo/tools/make-invoices.py

The check reads the text of every generated .doc and .docx back through LibreOffice and
verifies the fixed columns of each article line (1-based: 9-17 quantity, 18-24 unit, 25-48
"P/N: " and the part number, 68-81 unit price, 82-95 total), that the parsed blocks are the
ones written, that the amounts add up but for the invoice's deliberate faults (a line total
misprinted, a SUBTOTAL misprinted), and that the articles and origins lead where the demo
means them to (against the demo SQL scripts).
"""

import os
import re
import sqlite3
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.dirname(HERE)
OUT = os.path.join(DEMO, 'invoices')

# What each article is for in the demo; checked against the DEMO catalog.
HIT, POS, SUF, NEW = 'catalog hit', 'position error', 'suffix error', 'new article'

# part number, quantity, unit, unit price, description, origin (None: no origin line), path
NORTHFIELD_1 = [
    ('6204-2RS', 50, 'EA', 4.10, 'BALL BEARING 6204-2RS 20X47X14 MM SEALED', 'JAPAN', HIT),
    ('6205-ZZ', 40, 'EA', 5.35, 'BALL BEARING 6205-ZZ 25X52X15 MM SHIELDED', 'JAPAN', HIT),
    ('6308-2RS', 12, 'EA', 18.90, 'BALL BEARING 6308-2RS 40X90X23 MM SEALED', 'GERMANY', HIT),
    ('5206-2RS', 10, 'EA', 14.80, 'DOUBLE ROW ANGULAR CONTACT BALL BEARING 5206-2RS', 'KOREA', SUF),
    ('HBV-050-SS', 24, 'EA', 12.60, 'BALL VALVE 1/2" NPT STAINLESS STEEL 1000 WOG', 'ITALY', HIT),
    ('SV-220-24', 10, 'EA', 48.00, 'SOLENOID VALVE 2/2 WAY 1/4" NC 24 VDC', 'ITALY', HIT),
    ('PRV-100', 4, 'EA', 132.50, 'PRESSURE REDUCING VALVE 1" BRONZE 25-75 PSI', 'USA', SUF),
    ('CP-1.5HP', 2, 'EA', 589.00, 'CENTRIFUGAL PUMP 1.5 HP 220 V SINGLE PHASE', 'BRAZIL', HIT),
    ('GP-20', 3, 'EA', 245.00, 'GEAR PUMP 20 GPM - REMANUFACTURED', 'USA', HIT),
    ('OF-4412', 36, 'EA', 3.20, 'OIL FILTER SPIN-ON 3/4-16 UNF', 'USA', HIT),
    ('KP-3300', 2, 'EA', 156.00, 'PNEUMATIC PUSH-IN FITTING KIT, 120 PCS', 'TAIWAN', POS),
    ('GB-RD40', 2, 'EA', 412.00, 'WORM GEAR REDUCER RATIO 40:1 SIZE 50', 'ITALY', HIT),
    ('MS-25', 10, 'EA', 23.80, 'MECHANICAL SEAL 25 MM TYPE 21 CARBON/CERAMIC', 'GERMANY', HIT),
    ('HCS-M10X40-SS', 25, 'LB', 7.50, 'HEX CAP SCREW M10 X 40 STAINLESS A2 DIN 933', 'CHINA', HIT),
    ('HN-M10', 10, 'LB', 4.536, 'HEX NUT M10 ZINC PLATED CLASS 8', None, HIT),
    ('FW-3/8', 15, 'LB', 3.10, 'FLAT WASHER 3/8" SAE ZINC PLATED', 'USA', HIT),
    ('EB-M12', 20, 'EA', 2.95, 'EYE BOLT M12 DROP FORGED', 'VIETNAM', SUF),
    ('CPL-1/2-SS', 30, 'EA', 3.75, 'PIPE COUPLING 1/2" NPT STAINLESS 316', 'INDIA', SUF),
    ('SP-1/8X1', 10, 'BX', 4.20, 'COTTER PIN 1/8 X 1" ZINC PLATED, BOX OF 100', 'USA', SUF),
    ('CS-2040', 100, 'EA', 0.85, 'COMPRESSION SPRING 20 X 40 MM MUSIC WIRE', 'VIETNAM', HIT),
    ('RC-40', 50, 'FT', 2.65, 'ROLLER CHAIN ANSI 40 RIVETED, 10 FT BOXES', 'JAPAN', HIT),
    ('WR-1/4', 3, 'FT', 3.00, 'WIRE ROPE 1/4" 7X19 GALVANIZED', 'KOREA', HIT),
    ('VB-A42', 10, 'EA', 7.90, 'V-BELT A42 CLASSICAL WRAPPED', 'THAILAND', HIT),
    ('VB-B52', 6, 'EA', 9.60, 'V-BELT B52 CLASSICAL WRAPPED', 'KOREA', POS),
    ('OR-2-214', 1500, 'PCS', 0.12, "O-RING 2-214 NITRILE 70 DUROMETER", 'MALAYSIA', HIT),
    ('PT-1/4-PE', 100, 'FT', 0.32, 'POLYETHYLENE TUBING 1/4" OD NATURAL', 'USA', HIT),
    ('PTFE-TAPE-1/2', 100, 'RL', 0.45, 'PTFE THREAD SEAL TAPE 1/2" X 520"', 'CHINA', HIT),
    ('SIL-FLUID-350', 5, 'GA', 96.00, 'SILICONE FLUID 350 CST, 1 GAL PAIL', 'USA', HIT),
    ('TIRE-185/65R15', 4, 'EA', 71.50, 'TIRE 185/65R15 88H RADIAL ALL SEASON', 'BRAZIL', HIT),
    ('GR-1200', 8, 'BX', 5.25, 'RUBBER GROMMET ASSORTMENT, 1200 PCS', 'CHINA', SUF),
    ('6204-2RS', 30, 'EA', 3.95, 'BALL BEARING 6204-2RS 20X47X14 MM SEALED - PROMOTIONAL LOT', 'JAPAN', HIT),
    ('HC-5/8-SS', 100, 'EA', 0.65, 'HOSE CLAMP 5/8" WORM DRIVE STAINLESS', 'CHINA', NEW),
    ('SPR-EXT-1020', 50, 'EA', 1.15, 'EXTENSION SPRING 10 X 20 MM HOOK ENDS', 'USA', NEW),
    ('BRG-6006-ZZ', 16, 'EA', 6.40, 'BALL BEARING 6006-ZZ 30X55X13 MM SHIELDED', 'CHINA', NEW),
    ('GSK-SHEET-1/16', 5, 'PCS', 14.20, 'GASKET SHEET 1/16" NON-ASBESTOS 36" X 36"', 'USA', NEW),
    ('TB-0840', 1, 'EA', 89.00, 'TUBING BENDER 1/4" TO 1/2" WITH CASE', 'TAIWAN', POS),
]

BRIGHTWATER = [
    ('MTR-3PH-1HP', 4, 'EA', 215.00, 'THREE PHASE MOTOR 1 HP 4 POLE 220/380 V FRAME 80', 'BRAZIL', HIT),
    ('PS-24V-5A', 20, 'EA', 31.40, 'POWER SUPPLY 24 VDC 5 A DIN RAIL', 'TAIWAN', HIT),
    ('BAT-LI-18650', 200, 'EA', 2.85, 'LITHIUM ION CELL 18650 3.7 V 2600 MAH', 'KOREA', HIT),
    ('BAT-LI-PACK-48V', 2, 'EA', 640.00, 'LITHIUM BATTERY PACK 48 V 20 AH WITH BMS', 'CHINA', SUF),
    ('FUSE-10A-250V', 20, 'BX', 6.50, 'GLASS FUSE 10 A 250 V 5X20 MM, BOX OF 10', 'USA', HIT),
    ('RLY-24VDC', 40, 'EA', 5.60, 'GENERAL PURPOSE RELAY 24 VDC DPDT 10 A', 'JAPAN', HIT),
    ('SW-3P-63A', 6, 'EA', 38.20, 'ROTARY DISCONNECT SWITCH 3 POLE 63 A', 'ITALY', HIT),
    ('SW-1P-16A', 12, 'EA', 9.90, 'ROTARY SWITCH 1 POLE 16 A', 'ITALY', SUF),
    ('PLC-16IO', 2, 'EA', 1240.00, 'PROGRAMMABLE CONTROLLER 16 I/O 24 VDC', 'JAPAN', HIT),
    ('LED-BULB-9W', 150, 'EA', 1.95, 'LED BULB A19 9 W E27 6500 K', 'CHINA', HIT),
    ('CBL-14AWG-THHN', 500, 'FT', 0.18, 'BUILDING WIRE THHN 14 AWG BLACK', 'UNITED STATES', HIT),
    ('CBL-12-3-SO', 100, 'YD', 1.45, 'PORTABLE CORD SO 12/3 600 V', 'USA', HIT),
    ('CBL-CAT6-UTP', 4, 'RL', 118.00, 'NETWORK CABLE CAT6 UTP 23 AWG, 1000 FT REEL', 'CHINA', HIT),
    ('MAG-WIRE-24', 12, 'LB', 9.80, 'MAGNET WIRE 24 AWG HEAVY BUILD', 'USA', HIT),
    ('CBL-10AWG-THHN', 250, 'FT', 0.42, 'BUILDING WIRE THHN 10 AWG RED', 'USA', SUF),
    ('CAP-100UF-50V', 10, 'BX', 4.50, 'ELECTROLYTIC CAPACITOR 100 UF 50 V, BOX OF 50', 'JAPAN', POS),
    ('MM-DT830', 10, 'EA', 18.90, 'DIGITAL MULTIMETER DT830 CAT II 600 V', 'CHINA', HIT),
    ('PG-100PSI', 12, 'EA', 14.60, 'PRESSURE GAUGE 2.5" 0-100 PSI 1/4" NPT', 'TAIWAN', HIT),
    ('FM-25', 2, 'EA', 310.00, 'TURBINE FLOW METER 1" NPT WITH DISPLAY', 'GERMANY', HIT),
    ('THM-DIG-50', 15, 'EA', 22.40, 'DIGITAL THERMOMETER -50 TO 300 C, PROBE 125 MM', 'CHINA', HIT),
    ('THM-BIM-100', 8, 'EA', 16.90, 'BIMETAL THERMOMETER 3" DIAL 0-100 C', 'INDIA', SUF),
    ('CAL-150', 10, 'EA', 27.50, 'DIGITAL CALIPER 0-150 MM / 0-6"', 'JAPAN', HIT),
    ('TAPE-25FT', 24, 'EA', 8.75, 'MEASURING TAPE 25\' X 1" MAGNETIC HOOK', 'USA', HIT),
    ('GA-LP-60', 10, 'EA', 11.20, 'LOW PRESSURE GAUGE 60 MM 0-1 BAR', 'ITALY', SUF),
    ('LVL-600', 6, 'EA', 19.80, 'ALUMINUM SPIRIT LEVEL 600 MM, 3 VIALS', 'SWEDEN', POS),
    ('HS-3/8', 480, 'IN', 0.05, 'HEAT SHRINK TUBING 3/8" BLACK 2:1', 'CHINA', HIT),
    ('USB-PSU-5V', 50, 'EA', 3.40, 'USB POWER SUPPLY 5 V 2 A', 'CHINA', NEW),
    ('CONN-M12-4P', 40, 'EA', 6.80, 'CIRCULAR CONNECTOR M12 4 PIN FEMALE, FIELD WIREABLE', 'GERMANY', NEW),
    ('IR-THERM-550', 6, 'EA', 45.00, 'INFRARED THERMOMETER -50 TO 550 C', 'CHINA', NEW),
    ('LUX-200', 3, 'EA', 62.00, 'DIGITAL LUX METER 200,000 LUX', 'SOUTH KOREA', NEW),
]

NORTHFIELD_2 = [
    ('6204-2RS', 40, 'EA', 4.05, 'BALL BEARING 6204-2RS 20X47X14 MM SEALED', 'JAPAN', HIT),
    ('6205-ZZ', 20, 'EA', 5.35, 'BALL BEARING 6205-ZZ 25X52X15 MM SHIELDED', 'JAPAN', HIT),
    ('HBV-050-SS', 12, 'EA', 12.60, 'BALL VALVE 1/2" NPT STAINLESS STEEL 1000 WOG', 'ITALY', HIT),
    ('OF-4412', 24, 'EA', 3.20, 'OIL FILTER SPIN-ON 3/4-16 UNF', 'U.S.A.', HIT),
    ('MS-25', 4, 'EA', 23.80, 'MECHANICAL SEAL 25 MM TYPE 21 CARBON/CERAMIC', 'GERMANY', HIT),
    ('VB-A42', 10, 'EA', 7.90, 'V-BELT A42 CLASSICAL WRAPPED', 'THAILAND', HIT),
    ('OR-2-214', 300, 'PCS', 0.12, 'O-RING 2-214 NITRILE 70 DUROMETER', 'MALAYSIA', HIT),
    ('PT-1/4-PE', 100, 'FT', 0.32, 'POLYETHYLENE TUBING 1/4" OD NATURAL', 'USA', HIT),
    ('PTFE-TAPE-1/2', 100, 'RL', 0.45, 'PTFE THREAD SEAL TAPE 1/2" X 520"', 'CHINA', HIT),
    ('HN-M10', 20, 'LB', 4.50, 'HEX NUT M10 ZINC PLATED CLASS 8', 'USA', HIT),
    ('FW-3/8', 15, 'LB', 3.10, 'FLAT WASHER 3/8" SAE ZINC PLATED', 'USA', HIT),
    ('CS-2040', 50, 'EA', 0.85, 'COMPRESSION SPRING 20 X 40 MM MUSIC WIRE', 'VIETNAM', HIT),
    ('CPL-1/2-SS', 20, 'EA', 3.75, 'PIPE COUPLING 1/2" NPT STAINLESS 316', 'INDIA', SUF),
    ('HC-5/8-SS', 100, 'EA', 0.65, 'HOSE CLAMP 5/8" WORM DRIVE STAINLESS', 'CHINA', NEW),
    ('SPR-EXT-1020', 25, 'EA', 1.15, 'EXTENSION SPRING 10 X 20 MM HOOK ENDS', 'USA', NEW),
    ('BRG-6006-ZZ', 8, 'EA', 6.40, 'BALL BEARING 6006-ZZ 30X55X13 MM SHIELDED', 'CHINA', NEW),
    ('GSK-SHEET-1/16', 5, 'PCS', 14.20, 'GASKET SHEET 1/16" NON-ASBESTOS 36" X 36"', 'USA', NEW),
    ('CT-200', 30, 'BX', 6.90, 'CABLE TIES 8" 50 LB NATURAL, BAG OF 100', 'TAIWAN', HIT),
    ('HCS-1/2X2-GR5', 50, 'LB', 2.85, 'HEX CAP SCREW 1/2-13 X 2" GRADE 5 ZINC', 'USA', HIT),
    ('FLG-2-150-SS', 4, 'EA', 48.00, 'SLIP ON FLANGE 2" CLASS 150 STAINLESS 304', 'INDIA', HIT),
    ('PVC-ELB-1', 50, 'EA', 0.95, 'PVC ELBOW 90 DEG 1" SCH 40 SOCKET', 'MEXICO', NEW),
    ('TAPE-PVC-BLK', 50, 'RL', 0.89, 'PVC ELECTRICAL TAPE 3/4" X 66 FT BLACK', 'CHINA', NEW),
    ('PG-100PSI', 6, 'EA', 14.60, 'PRESSURE GAUGE 2.5" 0-100 PSI 1/4" NPT', 'TAIWAN', HIT),
    ('LED-BULB-9W', 100, 'EA', 1.95, 'LED BULB A19 9 W E27 6500 K', 'CHINA', HIT),
    ('FUSE-10A-250V', 10, 'BX', 6.50, 'GLASS FUSE 10 A 250 V 5X20 MM, BOX OF 10', 'USA', HIT),
    ('MM-DT830', 5, 'EA', 18.90, 'DIGITAL MULTIMETER DT830 CAT II 600 V', 'CHINA', HIT),
    ('BAT-LI-18650', 100, 'EA', 2.85, 'LITHIUM ION CELL 18650 3.7 V 2600 MAH', 'KOREA', HIT),
    ('CBL-14AWG-THHN', 1000, 'FT', 0.18, 'BUILDING WIRE THHN 14 AWG BLACK', 'UNITED STATES', HIT),
    ('RLY-24VDC', 20, 'EA', 5.60, 'GENERAL PURPOSE RELAY 24 VDC DPDT 10 A', 'JAPAN', HIT),
    ('SW-1P-16A', 6, 'EA', 9.90, 'ROTARY SWITCH 1 POLE 16 A', 'ITALY', SUF),
    ('THM-DIG-50', 10, 'EA', 22.40, 'DIGITAL THERMOMETER -50 TO 300 C, PROBE 125 MM', 'CHINA', HIT),
]

# Every line a valid catalog hit: the invoice that goes through to the transfer untouched.
BRIGHTWATER_CLEAN = [
    ('MTR-3PH-1HP', 2, 'EA', 215.00, 'THREE PHASE MOTOR 1 HP 4 POLE 220/380 V FRAME 80', 'BRAZIL', HIT),
    ('PS-24V-5A', 10, 'EA', 31.40, 'POWER SUPPLY 24 VDC 5 A DIN RAIL', 'TAIWAN', HIT),
    ('BAT-LI-18650', 100, 'EA', 2.85, 'LITHIUM ION CELL 18650 3.7 V 2600 MAH', 'KOREA', HIT),
    ('FUSE-10A-250V', 10, 'BX', 6.50, 'GLASS FUSE 10 A 250 V 5X20 MM, BOX OF 10', 'USA', HIT),
    ('RLY-24VDC', 20, 'EA', 5.60, 'GENERAL PURPOSE RELAY 24 VDC DPDT 10 A', 'JAPAN', HIT),
    ('SW-3P-63A', 4, 'EA', 38.20, 'ROTARY DISCONNECT SWITCH 3 POLE 63 A', 'ITALY', HIT),
    ('LED-BULB-9W', 200, 'EA', 1.95, 'LED BULB A19 9 W E27 6500 K', 'CHINA', HIT),
    ('CBL-14AWG-THHN', 1000, 'FT', 0.18, 'BUILDING WIRE THHN 14 AWG BLACK', 'UNITED STATES', HIT),
    ('CBL-12-3-SO', 50, 'YD', 1.45, 'PORTABLE CORD SO 12/3 600 V', 'USA', HIT),
    ('MAG-WIRE-24', 6, 'LB', 9.80, 'MAGNET WIRE 24 AWG HEAVY BUILD', 'USA', HIT),
    ('MM-DT830', 6, 'EA', 18.90, 'DIGITAL MULTIMETER DT830 CAT II 600 V', 'CHINA', HIT),
    ('PG-100PSI', 6, 'EA', 14.60, 'PRESSURE GAUGE 2.5" 0-100 PSI 1/4" NPT', 'TAIWAN', HIT),
    ('CAL-150', 5, 'EA', 27.50, 'DIGITAL CALIPER 0-150 MM / 0-6"', 'JAPAN', HIT),
    ('HS-3/8', 240, 'IN', 0.05, 'HEAT SHRINK TUBING 3/8" BLACK 2:1', 'CHINA', HIT),
    ('SIL-FLUID-350', 2, 'GA', 96.00, 'SILICONE FLUID 350 CST, 1 GAL PAIL', 'USA', HIT),
    ('PTFE-TAPE-1/2', 50, 'RL', 0.45, 'PTFE THREAD SEAL TAPE 1/2" X 520"', 'CHINA', HIT),
]

BUYER = ['DISTRIBUIDORA TECNICA DEL PLATA S.A. (fictitious)',
         'Av. de los Ejemplos 1234, Piso 3',
         'C1407 Buenos Aires - Argentina']

NORTHFIELD = ['NORTHFIELD INDUSTRIAL SUPPLY, INC.',
              '4180 Cypress Creek Parkway, Suite 210',
              'Houston, TX 77068 - U.S.A.',
              'Phone (281) 555-0147   Fax (281) 555-0148   sales@northfield-supply.example']

INVOICES = [
    dict(name='factura-northfield-0318', supplier=NORTHFIELD, number='NIS-24-0318', date='March 18, 2024',
         terms='FOB Houston, TX - Net 30 days', via='Ocean freight, Houston to Buenos Aires',
         ref='NF-', lines=NORTHFIELD_1, page_break=20, charges=[('FREIGHT', 385.00), ('INSURANCE', 42.50)]),
    dict(name='factura-brightwater-7741', number='BEC-7741', date='March 25, 2024',
         supplier=['BRIGHTWATER ELECTRIC & CONTROLS CORP.',
                   '900 Harbor Light Drive',
                   'Long Beach, CA 90802 - U.S.A.',
                   'Phone (562) 555-0193   orders@brightwater-electric.example'],
         terms='FCA Long Beach, CA - Payment in advance', via='Air freight, LAX to EZE',
         ref=None, lines=BRIGHTWATER, page_break=16, charges=[('HANDLING', 60.00), ('AIR FREIGHT', 512.00)]),
    dict(name='factura-brightwater-7802', number='BEC-7802', date='April 9, 2024',
         supplier=['BRIGHTWATER ELECTRIC & CONTROLS CORP.',
                   '900 Harbor Light Drive',
                   'Long Beach, CA 90802 - U.S.A.',
                   'Phone (562) 555-0193   orders@brightwater-electric.example'],
         terms='FCA Long Beach, CA - Payment in advance', via='Air freight, LAX to EZE',
         ref=None, lines=BRIGHTWATER_CLEAN, page_break=None, charges=[('AIR FREIGHT', 180.00)]),
    dict(name='factura-northfield-0402', supplier=NORTHFIELD, number='NIS-24-0402', date='April 2, 2024',
         terms='FOB Houston, TX - Net 30 days', via='Ocean freight, Houston to Buenos Aires',
         ref='NF-', lines=NORTHFIELD_2, page_break=None, charges=[('FREIGHT', 210.00)],
         # A typing error at the supplier: 192.00 printed as 129.00; the SUBTOTAL adds up the
         # printed lines.
         misprinted_totals={'FLG-2-150-SS': 129.00}),
]

# The deliberate fault of the second invoice: its SUBTOTAL printed with two digits swapped
# (10,880.30 as 10,808.30); its TOTAL adds the charges to the printed SUBTOTAL.
INVOICES[1]['misprinted_subtotal'] = 10808.30

WIDTH = 95


def money(value, decimals=2):
    return f'{value:,.{decimals}f}'


def price_text(price):
    return money(price, 2 if round(price, 2) == price else 3)


def total_of(quantity, price):
    return round(quantity * price + 1e-9, 2)


def printed_total(inv, part, quantity, price):
    """A line's total as printed: quantity times price, but for a deliberate misprint."""
    return inv.get('misprinted_totals', {}).get(part, total_of(quantity, price))


def article_line(item, part, quantity, unit, price, total, reference):
    line = (f'{item:>4}    '                       # 1-8
            f'{money(quantity):>9}'                # 9-17
            f'  {unit:<5}'                         # 18-24
            f'{"P/N: " + part:<24}'                # 25-48
            f'  {reference:<17}'                   # 49-67
            f'{price_text(price):>14}'             # 68-81
            f'{money(total):>14}')                 # 82-95
    assert len(line) == WIDTH, line
    return line


def column_header():
    return ['ITEM    QUANTITY  UNIT   PART NUMBER             SUPPLIER REF            UNIT PRICE'
            '        AMOUNT', '-' * WIDTH]


def invoice_paragraphs(inv):
    """The invoice as (text, page break before) pairs, one per paragraph."""
    paras = [(t, False) for t in inv['supplier']]
    paras += [('', False), (' ' * 36 + 'COMMERCIAL INVOICE', False), ('', False),
              (f'Invoice No.: {inv["number"]}'.ljust(60) + f'Date: {inv["date"]}', False),
              ('Sold to: ' + BUYER[0], False)]
    paras += [(' ' * 9 + t, False) for t in BUYER[1:]]
    paras += [('Terms: ' + inv['terms'], False), ('Shipped via: ' + inv['via'], False),
              ('Currency: US Dollars', False), ('', False)]
    paras += [(t, False) for t in column_header()]
    subtotal = 0.0
    for n, (part, quantity, unit, price, description, origin, _) in enumerate(inv['lines'], 1):
        if inv['page_break'] and n == inv['page_break'] + 1:
            paras.append((f'{inv["supplier"][0]}   Invoice {inv["number"]}   Page 2 of 2', True))
            paras.append(('', False))
            paras += [(t, False) for t in column_header()]
        reference = f'{inv["ref"]}{10230 + 7 * n}' if inv['ref'] else ''
        total = printed_total(inv, part, quantity, price)
        paras.append((article_line(n, part, quantity, unit, price, total, reference), False))
        paras.append((' ' * 24 + description, False))
        if origin is not None:
            paras.append((' ' * 24 + 'COUNTRY OF ORIGIN: ' + origin, False))
        paras.append(('', False))
        subtotal += total
    paras.append(('-' * WIDTH, False))
    amounts = [('SUBTOTAL', inv.get('misprinted_subtotal', round(subtotal, 2)))] + inv['charges']
    amounts.append(('TOTAL USD', sum(a for _, a in amounts)))
    for label, amount in amounts:
        paras.append((' ' * 67 + f'{label:<14}' + f'{money(amount):>14}', False))
    paras += [('', False),
              ('Origin of the goods as stated under each item. Prices in US Dollars.', False),
              ('We certify that this invoice is true and correct. (Demonstration document: fictitious data.)',
               False)]
    return paras


def fodt(paras):
    def para(text, page_break):
        body = re.sub(r' +', lambda m: f'<text:s text:c="{len(m.group(0))}"/>', escape(text))
        style = 'InvoiceBreak' if page_break else 'Invoice'
        return f'   <text:p text:style-name="{style}">{body}</text:p>\n'

    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
            ' xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"'
            ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"'
            ' xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"'
            ' office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">\n'
            ' <office:font-face-decls>\n'
            '  <style:font-face style:name="Liberation Mono" svg:font-family="\'Liberation Mono\'"'
            ' style:font-family-generic="modern" style:font-pitch="fixed"'
            ' xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"/>\n'
            ' </office:font-face-decls>\n'
            ' <office:styles>\n'
            '  <style:style style:name="Invoice" style:family="paragraph">\n'
            '   <style:paragraph-properties fo:margin-top="0cm" fo:margin-bottom="0cm"/>\n'
            '   <style:text-properties style:font-name="Liberation Mono" fo:font-size="7.5pt"/>\n'
            '  </style:style>\n'
            '  <style:style style:name="InvoiceBreak" style:family="paragraph"'
            ' style:parent-style-name="Invoice">\n'
            '   <style:paragraph-properties fo:break-before="page"/>\n'
            '  </style:style>\n'
            ' </office:styles>\n'
            ' <office:automatic-styles>\n'
            '  <style:page-layout style:name="Letter">\n'
            '   <style:page-layout-properties fo:page-width="21.59cm" fo:page-height="27.94cm"'
            ' fo:margin-top="1.5cm" fo:margin-bottom="1.5cm" fo:margin-left="1.5cm"'
            ' fo:margin-right="1.5cm"/>\n'
            '  </style:page-layout>\n'
            ' </office:automatic-styles>\n'
            ' <office:master-styles>\n'
            '  <style:master-page style:name="Standard" style:page-layout-name="Letter"/>\n'
            ' </office:master-styles>\n'
            ' <office:body>\n'
            '  <office:text>\n'
            + ''.join(para(t, b) for t, b in paras) +
            '  </office:text>\n'
            ' </office:body>\n'
            '</office:document>\n')


def soffice(profile, *args):
    subprocess.run(['soffice', f'-env:UserInstallation=file://{profile}', '--headless', *args],
                   check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def document_text(profile, path):
    with tempfile.TemporaryDirectory() as work:
        soffice(profile, '--convert-to', 'txt:Text (encoded):UTF8', '--outdir', work, path)
        name = os.path.splitext(os.path.basename(path))[0] + '.txt'
        with open(os.path.join(work, name), encoding='utf-8-sig') as f:
            return f.read()


def invoice_number(text):
    """A number in the invoice's own form: "." decimals, "," thousands."""
    if not re.fullmatch(r'\d{1,3}(,\d{3})*(\.\d+)?|\d+(\.\d+)?', text):
        raise ValueError(f'not an invoice number: {text!r}')
    return float(text.replace(',', ''))


def parse(text):
    """The article blocks as the program reads them: fixed columns, description, origin."""
    records, want_description = [], False
    for line in text.replace('\r\n', '\n').replace('\r', '\n').split('\n'):
        if 'P/N: ' in line:
            assert line[24:29] == 'P/N: ', f'marker off its column: {line!r}'
            assert line[16] != ' ' and line[80] != ' ' and line[94] != ' ', f'numbers not right-aligned: {line!r}'
            records.append(dict(quantity=invoice_number(line[8:17].strip()), unit=line[17:24].strip(),
                                part=line[24:48].replace('P/N:', '').strip(),
                                price=invoice_number(line[67:81].strip()),
                                total=invoice_number(line[81:95].strip()), origin=None))
            want_description = True
        elif want_description:
            records[-1]['description'] = line.strip()
            want_description = False
        elif 'COUNTRY OF ORIGIN:' in line:
            records[-1]['origin'] = line.replace('COUNTRY OF ORIGIN:', '').strip()
    return records


def stated_subtotal(text):
    """The amount of the line whose first word is SUBTOTAL."""
    for line in text.replace('\r\n', '\n').split('\n'):
        words = line.split()
        if words and words[0].upper() == 'SUBTOTAL':
            return invoice_number(words[-1])
    raise AssertionError('no SUBTOTAL line')


def check_text(inv, text, path):
    records = parse(text)
    assert len(records) == len(inv['lines']), f'{path}: {len(records)} blocks'
    wrong = set()
    for record, (part, quantity, unit, price, description, origin, _) in zip(records, inv['lines']):
        expected = dict(part=part, quantity=float(quantity), unit=unit, price=price,
                        total=printed_total(inv, part, quantity, price), description=description,
                        origin=origin)
        assert record == expected, f'{path}: {record} != {expected}'
        if abs(record['total'] - record['quantity'] * record['price']) > 0.005 + 1e-9:
            wrong.add(part)
    # The lines' arithmetic and the SUBTOTAL are wrong exactly where the invoice means them to be.
    assert wrong == set(inv.get('misprinted_totals', {})), f'{path}: wrong totals {wrong}'
    line_sum = round(sum(r['total'] for r in records), 2)
    subtotal = stated_subtotal(text)
    assert (abs(subtotal - line_sum) >= 0.005) == ('misprinted_subtotal' in inv), \
        f'{path}: SUBTOTAL {subtotal}, lines {line_sum}'


def check_paths(invoices):
    db = sqlite3.connect(':memory:')
    for script in ['declaration-schema.sql', 'declaration-data.sql']:
        with open(os.path.join(DEMO, script), encoding='utf-8') as f:
            db.executescript(f.read())
    db.execute('create table ORG (PAI text, ORI text)')
    db.execute('create table PAIS (id text, descripcion text)')
    db.execute('create table INTN (INTNRO text primary key, INTDSC text)')
    with open(os.path.join(DEMO, 'work-data.sql'), encoding='utf-8') as f:
        db.executescript(f.read())
    positions = dict(db.execute("select idarticulo, ncm from catarticulos where idcatalogo = 'DEMO'"))
    unknown = set()
    units = set()
    for inv in invoices:
        for part, _, unit, _, _, origin, path in inv['lines']:
            assert (part in positions) == (path != NEW), f'{part}: {path}'
            units.add(unit)
            if not db.execute('select 1 from ORG where PAI = ?', (origin or 'US',)).fetchone():
                unknown.add(origin)
    assert unknown == {'VIETNAM'}, unknown
    assert db.execute("select 1 from PAIS where descripcion = 'VIETNAM'").fetchone()
    assert {'EA', 'RL', 'BX', 'LB', 'FT', 'IN', 'YD', 'GA', 'PCS'} <= units, units


def main():
    check_paths(INVOICES)
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        profile = os.path.join(work, 'profile')
        for inv in INVOICES:
            source = os.path.join(work, inv['name'] + '.fodt')
            with open(source, 'w', encoding='utf-8') as f:
                f.write(fodt(invoice_paragraphs(inv)))
            for kind in ('doc', 'docx'):
                soffice(profile, '--convert-to', kind, '--outdir', OUT, source)
                path = os.path.join(OUT, f'{inv["name"]}.{kind}')
                check_text(inv, document_text(profile, path), path)
                print(f'{os.path.relpath(path, DEMO)}: {len(inv["lines"])} article blocks')


if __name__ == '__main__':
    sys.exit(main())

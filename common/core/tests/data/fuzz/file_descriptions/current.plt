CRV Version 5.0.6
 ILX 270 109.500
 WAAA    101.500  39 00 00
 KBBB-FM  99.125
 $$$$
  1  2

<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id><account>Robin Ashdown</account><mapi>1.2.3</mapi><class>GW.MESSAGE.APPOINTMENT</class></id>
  <props>
    <appointment>
      <accepted>true</accepted><autodate>false</autodate><delegated>false</delegated>
      <on-calendar>true</on-calendar><personal>false</personal>
      <start-date>20240320T140000</start-date><end-date>20240320T153000</end-date>
      <place>Room 4</place><duration>half</duration>
      <alarm-time>20240320T134500</alarm-time><alarm-program></alarm-program><notify-accepted>0</notify-accepted>
    </appointment>
  </props>
</message>

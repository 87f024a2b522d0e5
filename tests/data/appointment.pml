<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id>
    <account>Robin Ashdown</account>
    <mapi>6C3D4E5F.dom1.po1.100.1.1.1@1</mapi>
    <class>GW.MESSAGE.APPOINTMENT</class>
  </id>
  <props>
    <core>
      <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
      <routed-eol>false</routed-eol><read>true</read><private>false</private>
      <notify-open>false</notify-open><hidden>false</hidden><opened>true</opened>
      <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
      <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
      <from>Ellis Fenwick</from><subject>Planning meeting</subject><view>default</view>
      <date-create>20240305T083000</date-create><date-modified>20240305T084500</date-modified>
      <boxtype>2</boxtype><priority>2</priority>
    </core>
    <body><plain><![CDATA[Room 4, bring the plan.]]></plain></body>
    <appointment>
      <accepted>true</accepted>
      <autodate>false</autodate>
      <delegated>false</delegated>
      <on-calendar>true</on-calendar>
      <personal>false</personal>
      <start-date>20240320T140000</start-date>
      <end-date>20240320T153000</end-date>
      <place>Room 4</place>
      <duration>0.0625</duration>
      <alarm-time>20240320T134500</alarm-time>
      <alarm-program></alarm-program>
      <notify-accepted>256</notify-accepted>
      <notify-declined>1</notify-declined>
      <busytype>2</busytype>
      <date-delivered>20240306T100000</date-delivered>
    </appointment>
  </props>
  <save-log date-saved="20240401T120000"/>
</message>

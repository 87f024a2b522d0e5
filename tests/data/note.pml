<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id>
    <account>Robin Ashdown</account>
    <mapi>8E5F6071.dom1.po1.100.1.1.1@1</mapi>
    <class>GW.MESSAGE.NOTE</class>
  </id>
  <props>
    <core>
      <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
      <routed-eol>false</routed-eol><read>true</read><private>false</private>
      <notify-open>false</notify-open><hidden>false</hidden><opened>true</opened>
      <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
      <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
      <from>Ellis Fenwick</from><subject>Dentist</subject><view>default</view>
      <date-create>20240305T083000</date-create><date-modified>20240305T084500</date-modified>
      <boxtype>3</boxtype><priority>2</priority>
    </core>
    <note>
      <accepted>false</accepted>
      <autodate>true</autodate>
      <completed>false</completed>
      <delegated>false</delegated>
      <on-calendar>true</on-calendar>
      <personal>true</personal>
      <notify-accepted>0</notify-accepted>
      <notify-completed>1</notify-completed>
      <notify-declined>0</notify-declined>
      <start-date>20240322T000000</start-date>
      <categories><category primary="true">Personal</category></categories>
    </note>
  </props>
</message>

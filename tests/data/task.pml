<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id>
    <account>Robin Ashdown</account>
    <mapi>7D4E5F60.dom1.po1.100.1.1.1@1</mapi>
    <class>GW.MESSAGE.TASK</class>
  </id>
  <props>
    <core>
      <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
      <routed-eol>false</routed-eol><read>false</read><private>false</private>
      <notify-open>false</notify-open><hidden>false</hidden><opened>true</opened>
      <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
      <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
      <from>Ellis Fenwick</from><subject>Send the report</subject><view>default</view>
      <date-create>20240305T083000</date-create><date-modified>20240305T084500</date-modified>
      <boxtype>4</boxtype><priority>3</priority>
    </core>
    <task>
      <category>Reports</category>
      <accepted>true</accepted>
      <autodate>false</autodate>
      <completed>true</completed>
      <delegated>false</delegated>
      <personal>false</personal>
      <on-calendar>true</on-calendar>
      <notify-accepted>0</notify-accepted>
      <notify-completed>2</notify-completed>
      <notify-declined>0</notify-declined>
      <priority>0</priority>
      <assigned-date>20240301T000000</assigned-date>
      <due-date>20240315T170000</due-date>
      <start-date>20240304T090000</start-date>
      <forwarded>true</forwarded>
    </task>
  </props>
</message>

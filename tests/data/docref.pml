<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id>
    <account>Robin Ashdown</account>
    <mapi>A0718293.dom1.po1.100.1.1.1@1</mapi>
    <class>GW.MESSAGE.DOCUMENTREFERENCE</class>
  </id>
  <props>
    <core>
      <archived>false</archived><notify-del>false</notify-del><routed>false</routed>
      <routed-eol>false</routed-eol><read>true</read><private>false</private>
      <notify-open>false</notify-open><hidden>false</hidden><opened>true</opened>
      <deleted>false</deleted><convattach>false</convattach><rev-no>1</rev-no>
      <reply-days-req>0</reply-days-req><reply-req>0</reply-req>
      <from>Ellis Fenwick</from><subject>Contract draft</subject><view>default</view>
      <date-create>20240305T083000</date-create><date-modified>20240305T084500</date-modified>
      <boxtype>3</boxtype><priority>2</priority>
    </core>
    <document-reference>
      <personal-subject>Contract v2</personal-subject>
      <date-delivered>20240306T100000</date-delivered>
    </document-reference>
  </props>
</message>

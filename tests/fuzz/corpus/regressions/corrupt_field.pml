<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.MAIL</class>
<account>Robin Ashdown</account>
<mapi>4A1B2C3D.dom1.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Ellis Fenwick</from>
<subject>Quarterly figures</subject>
<view>mail</view>
<date-create>20240312T091500</date-create>
<date-modified>20240312T091700</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
</core>
<fields>
<field name="bad" type="4">AAAAAAAAAAAA</field>
</fields>
<body>
<plain><![CDATA[Hello,

please find the figures attached.
]]></plain>
</body>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20240312T091600</date-delivered>
</email>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
